// TERM while a conversion command shows one of its own dialogs (the join's
// save dialog, a yes/no question, the end-of-join warning) cancels the
// command at once and closes the window as Close does: the settings are
// saved and nothing half-written remains. Its own program: the window quits
// the application, which ends every event loop of the process after it.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <csignal>
#include <filesystem>

#include "catalog/Catalog.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/QtPrompts.h"
#include "ui/TerminationNotifier.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  bool join;
  bool garbageOnly;     // the join gets no audio: its warning comes at the end
  bool noWindowsMedia;  // WMA output without its runtime: a yes/no question
  const QMetaObject* dialog;
};

class SignalTest : public ::testing::TestWithParam<Case> {};

TEST_P(SignalTest, TermDuringTheCommandsDialogCancelsAndClosesTheWindow) {
  const Case& c = GetParam();
  test::WindowTest world;
  const std::string in = world.dir.File("in");
  fs::create_directories(in);
  fs::create_directories(world.out);
  const std::string tone = test::MakeAudio(in + "/tone.wav", "sine=f=440:d=20");

  BackendTable backends = test::Backends();
  if (c.noWindowsMedia) {
    backends.windowsMedia = nullptr;
    world.settings.outputFormat = format_id::kWma;
  }
  world.settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  world.settings.destSpecifiedFolder = world.out + "/";
  QtPrompts prompts(world.shell);
  MainWindow window({backends, world.settings, world.store, prompts, world.shell});
  prompts.SetParent(&window);
  window.show();
  window.AddChosenFiles({QString::fromStdString(tone)});
  // A file that probed as audio and is garbage when the join reads it.
  if (c.garbageOnly) test::WriteFile(tone, std::vector<uint8_t>(4000, 0x33));
  ASSERT_EQ(window.Model().Count(), 1);

  TerminationNotifier stopSignals;
  QObject::connect(&stopSignals, &TerminationNotifier::received, &window, &MainWindow::Quit);
  bool raised = false;
  test::WhileRunning(
      [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
          // The save dialog before the end-of-join warning gets its answer.
          auto* save = qobject_cast<QFileDialog*>(widget);
          if (save != nullptr && save->isVisible() && c.dialog != &QFileDialog::staticMetaObject) {
            save->selectFile(QString::fromStdString(world.out + "/joined.mp3"));
            static_cast<QDialog*>(save)->accept();
            continue;
          }
          if (!raised && widget->isVisible() && widget->metaObject()->inherits(c.dialog)) {
            // A save dialog gets a name typed, as a user would before a signal.
            if (auto* files = qobject_cast<QFileDialog*>(widget))
              files->selectFile(QString::fromStdString(world.out + "/joined.mp3"));
            ::raise(SIGTERM);
            raised = true;
          }
        }
        return false;
      },
      [&] {
        window.Run(c.join ? Command::ConvertAllToOne : Command::ConvertAll);
        QElapsedTimer timer;
        timer.start();
        while ((window.isVisible() || window.IsBusy()) && timer.elapsed() < 30000)
          QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      });
  EXPECT_TRUE(raised) << "the dialog was not shown";
  EXPECT_FALSE(window.IsBusy());
  EXPECT_FALSE(window.isVisible()) << "the window closes as Close does";
  for (QWidget* widget : QApplication::topLevelWidgets())
    EXPECT_FALSE(widget->isVisible() && qobject_cast<QDialog*>(widget) != nullptr)
        << widget->metaObject()->className() << " still open";
  // Nothing written, nothing half-written; the window's settings stored.
  EXPECT_TRUE(fs::is_empty(world.out)) << fs::directory_iterator(world.out)->path();
  IniSettingsProvider stored(world.dir.File("quillo.conf"));
  EXPECT_TRUE(stored.readNumber(SettingsStore::kOptionsGroup, "OutputFormat").has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, SignalTest,
    ::testing::Values(Case{"SaveDialog", true, false, false, &QFileDialog::staticMetaObject},
                      Case{"Question", false, false, true, &QMessageBox::staticMetaObject},
                      Case{"JoinWarning", true, true, false, &QMessageBox::staticMetaObject}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace quillo
