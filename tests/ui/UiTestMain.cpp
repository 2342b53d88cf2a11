#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  // No display is needed, and the text order does not follow the machine's
  // language.
  // The offscreen platform's own screen (800 by 600) is smaller than the
  // window at the font sizes the tests use, and the window would shrink to
  // it: the tests get a large screen, and test small ones themselves.
  QTemporaryDir screens;
  QFile config(screens.filePath(QStringLiteral("screens.json")));
  if (!config.open(QIODevice::WriteOnly) ||
      config.write(R"({"screens": [{"name": "large", "x": 0, "y": 0, "width": 3840,
                    "height": 2400, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") < 0)
    return 2;
  config.close();
  // A test that needs a display (a desktop theme that only loads on one)
  // names another platform itself.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen")
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
