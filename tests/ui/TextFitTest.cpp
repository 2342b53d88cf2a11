// Every text of the window, its options sheet and its progress dialog shows
// whole at the desktop fonts users have (10 and 11 pt on the common
// desktops, 14 pt for large text), not only at Qt's default 9 pt, in English
// and in each language the window is translated into.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QMenu>
#include <QTest>
#include <QTranslator>
#include <set>

#include "tests/ui/OptionsTestSupport.h"
#include "tests/ui/TextFit.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/DoubleBarDialog.h"
#include "ui/ListColumns.h"
#include "ui/ListMenus.h"
#include "ui/OptSheet.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"
#include "ui/WindowLanguage.h"

namespace quillo {
namespace {

// Sets the application's font for one test and restores it after.
class FontScope {
 public:
  explicit FontScope(double points) : saved_(QApplication::font()) {
    QFont font = saved_;
    font.setPointSizeF(points);
    QApplication::setFont(font);
  }
  ~FontScope() { QApplication::setFont(saved_); }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  QFont saved_;
};

std::string Joined(const QStringList& problems) {
  return problems.join(QStringLiteral("\n")).toStdString();
}

// Asked before the window's translation, it notes each of the window's texts
// that the translation lacks, and answers nothing itself.
class MissingTexts : public QTranslator {
 public:
  explicit MissingTexts(const QString& language) {
    EXPECT_TRUE(catalogue_.load(QStringLiteral(":/i18n/quillo_") + language));
  }
  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    if (QLatin1String(context) == QLatin1String("Quillo") &&
        catalogue_.translate(context, source, disambiguation, n).isEmpty())
      missing.insert(source);
    return {};
  }
  bool isEmpty() const override { return false; }
  const QTranslator& Catalogue() const { return catalogue_; }

  mutable std::set<std::string> missing;

 private:
  QTranslator catalogue_;
};

// The texts below `root` shown in English although the catalogue translates
// them: put on the screen without the lookup.
QStringList ShownUntranslated(const QWidget& root, const QTranslator& catalogue) {
  QStringList texts;
  for (const QWidget* w : root.findChildren<QWidget*>()) {
    if (!w->isVisibleTo(&root)) continue;
    texts << w->toolTip();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
    if (auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
    if (auto* box = qobject_cast<const QComboBox*>(w))
      for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
  }
  QStringList untranslated;
  for (const QString& text : texts)
    if (const QString translation =
            catalogue.translate("Quillo", text.toUtf8().constData(), nullptr, -1);
        !translation.isEmpty() && translation != text)
      untranslated << text;
  return untranslated;
}

struct Desktop {
  const char* language;
  double points;
};

class TextFitTest : public ::testing::TestWithParam<Desktop> {};

TEST_P(TextFitTest, EveryTextOfTheWindowTheSheetAndTheDialogFitsItsControl) {
  const QString language = QString::fromLatin1(GetParam().language);
  const WindowLanguage translation{QLocale(language)};
  const bool english = language == QLatin1String("en");
  // English is the program's own text; every other language is translated
  // whole, Qt's own buttons included.
  ASSERT_EQ(translation.Translated(), !english);
  std::unique_ptr<MissingTexts> missing;
  if (!english) {
    missing = std::make_unique<MissingTexts>(language);
    QCoreApplication::installTranslator(missing.get());
    EXPECT_NE(Tr("Cancel"), QStringLiteral("Cancel"));
  }
  const FontScope font(GetParam().points);
  EXPECT_NEAR(UiScale(), GetParam().points / 9.0, 0.01);
  test::WindowTest world;
  // A 32-bit stereo file gives the widest bit rate, "2822 kbps" or so; a quiet one
  // a large gain.
  const std::string wide =
      test::MakeAudio(world.dir.File("Quartet in D minor.wav"), "sine=f=440:d=2:r=44100");
  test::Run("ffmpeg -v error -y -i " + test::ShellQuote(wide) + " -ac 2 -c:a pcm_s32le " +
            test::ShellQuote(world.dir.File("wide.wav")));
  MainWindow& window = world.Window();
  window.AddChosenFiles({QString::fromStdString(world.dir.File("wide.wav"))});
  ASSERT_EQ(world.Model().Count(), 1);
  ASSERT_EQ(world.Model().CellText(0, kBitRateColumn).rfind("282", 0), 0u);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(Joined(test::TextsThatDoNotFit(window, {kFileColumn, kOutputColumn})), "");
  if (missing) EXPECT_EQ(Joined(ShownUntranslated(window, missing->Catalogue())), "");
  EXPECT_EQ(window.width(), Scaled(950));

  // The dialog of a conversion, with its longest texts.
  DoubleBarDialog dialog(&window);
  dialog.SetOverallText("Converting 1000 of 1000 files, total 100%");
  dialog.SetFileText("Converting /home/ann/Music/Quartet in D minor.wav to MP3 ... 100%");
  dialog.show();
  EXPECT_EQ(Joined(test::TextsThatDoNotFit(dialog)), "");
  dialog.hide();

  // Every page of the options sheet, with every control shown; the sheet
  // keeps one size and stays on the screen.
  world.settings.id3TagType = TagMode::Custom;
  world.settings.volumeType = VolumeMode::Manual;
  test::ScriptedPrompts prompts;
  COptSheet sheet(&window, world.settings, {prompts, world.shell, test::Backends().windowsMedia});
  sheet.show();
  const QSize size = sheet.size();
  const QRect screen = sheet.screen()->availableGeometry();
  for (int i = 0; i < sheet.PageCount(); ++i) {
    ASSERT_TRUE(sheet.ShowPage(i));
    QApplication::processEvents();
    SCOPED_TRACE(sheet.Page(i).Caption().toStdString());
    EXPECT_EQ(Joined(test::TextsThatDoNotFit(sheet)), "");
    if (missing) EXPECT_EQ(Joined(ShownUntranslated(sheet, missing->Catalogue())), "");
    EXPECT_EQ(sheet.size(), size);
    const QWidget& page = sheet.Page(i);
    EXPECT_GE(page.height(), page.minimumSizeHint().height());
    EXPECT_GE(page.width(), page.minimumSizeHint().width());
  }
  EXPECT_LE(size.width(), screen.width());
  EXPECT_LE(size.height(), screen.height());

  // The list's menu and the help menu are the window's texts too.
  QMenu menus;
  FillListMenu(menus, {}, [](Command) {});
  FillHelpMenu(menus, [](Command) {});
  if (missing) {
    QCoreApplication::removeTranslator(missing.get());
    EXPECT_EQ(missing->missing, std::set<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(DesktopFonts, TextFitTest,
                         ::testing::Values(Desktop{"en", 9}, Desktop{"en", 10}, Desktop{"en", 11},
                                           Desktop{"en", 14}, Desktop{"de", 9}, Desktop{"de", 11},
                                           Desktop{"de", 14}, Desktop{"fr", 9}, Desktop{"fr", 11},
                                           Desktop{"fr", 14}),
                         [](const ::testing::TestParamInfo<Desktop>& param) {
                           return std::string(param.param.language) + "_" +
                                  std::to_string(static_cast<int>(param.param.points)) + "pt";
                         });

}  // namespace
}  // namespace quillo
