// What a screen reader and a keyboard user meet: every control named by its
// label rather than its value, the dialogs announced as dialogs, and the
// window's and the sheet's keys.

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLibraryInfo>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "tests/ui/OptionsTestSupport.h"
#include "ui/DoubleBarDialog.h"
#include "ui/FormatBox.h"
#include "ui/SingleBarDialog.h"

namespace quillo::test {
namespace {

QString NameOf(QObject* object) {
  return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

// Every control named at all, on every page, is checked over the AT-SPI bus
// (accessible_tree_test.py); here, that the names are the right words.
TEST(AccessibilityTest, ControlsAreNamedByTheirLabelsAndDialogsAreDialogs) {
  WindowTest world;
  MainWindow& window = world.Window();
  window.show();
  COptSheet sheet(&window, world.settings, {world.prompts, world.shell, Backends().windowsMedia});
  sheet.show();

  DoubleBarDialog converting(&window);
  converting.SetOverallRange(3);
  SingleBarDialog adding(&window);
  for (ProgressDialog* dialog :
       {static_cast<ProgressDialog*>(&converting), static_cast<ProgressDialog*>(&adding)})
    EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog)->role(), QAccessible::Dialog);

  // The words the user sees beside each control, without the mnemonic and
  // the colon; a drop-down is not named by its entry.
  const auto spinEdit = [&](const char* name) {
    return sheet.Page(0).findChild<SpinEdit*>(QString::fromLatin1(name))->Edit();
  };
  const struct {
    QObject* control;
    const char* name;
  } labelled[] = {
      {&window.Formats(), "Output format"},
      {&window.List(), "Files"},
      {window.findChild<QToolButton*>(), "Help"},
      {sheet.PageList(), "Pages"},
      {spinEdit("skipEdit"), "Skip the first"},
      {spinEdit("volumeEdit"), "Adjust volume manually"},
      {spinEdit("loudnessEdit"), "Normalize loudness to"},
      {converting.FileBar(), "Progress of the current file"},
  };
  for (const auto& [control, name] : labelled) EXPECT_EQ(NameOf(control), name);
  sheet.ShowPage(1);
  EXPECT_EQ(NameOf(sheet.findChild<QComboBox*>(QStringLiteral("targetList"))),
            "If target file exists");
}

TEST(AccessibilityTest, TheWindowWorksFromTheKeyboard) {
  WindowTest world;
  MainWindow& window = world.Window();
  window.show();
  QApplication::setActiveWindow(&window);
  FormatBox& formats = window.Formats();

  // The context menu opens from the keyboard: the Menu key and Shift+F10.
  for (const auto& [key, modifiers] :
       {std::pair{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        opened = !menu->actions().isEmpty();
        menu->close();
      }
    });
    window.List().setFocus();
    QTest::keyClick(&window.List(), key, modifiers);
    EXPECT_TRUE(opened) << "key " << key;
  }

  // Typing selects a format by the letters after " to "; the same letter
  // again steps to the next format with it. The tool tip shows the whole name.
  formats.setFocus();
  for (const auto& [keys, expected] : {std::pair{"fl", " to FLAC"}, {"w", " to WAV"}}) {
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClicks(&formats, QString::fromLatin1(keys));
    EXPECT_EQ(formats.currentText(), expected);
    EXPECT_EQ(formats.toolTip(), QString::fromLatin1(expected).trimmed());
    EXPECT_EQ(world.settings.outputFormat, formats.currentData().toInt());
  }
  const QString firstW = formats.currentText();
  QTest::keyClicks(&formats, QStringLiteral("w"));
  EXPECT_NE(formats.currentText(), firstW);
  EXPECT_TRUE(formats.currentText().startsWith(QStringLiteral(" to W")));
  // The same in the open list.
  formats.showPopup();
  QTest::qWait(QApplication::keyboardInputInterval() + 50);
  QTest::keyClicks(formats.view(), QStringLiteral("fl"));
  EXPECT_EQ(formats.view()->currentIndex().data().toString(), QStringLiteral(" to FLAC"));
  formats.hidePopup();

  // Alt+T reaches the box, and Tab reaches it where it sits: between the
  // Convert buttons.
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.List().setFocus();
  QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), &formats);
  QPushButton* convert = nullptr;
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    EXPECT_FALSE(button->text().contains(QStringLiteral("&T"), Qt::CaseInsensitive));
    if (button->text() == QStringLiteral("&Convert")) convert = button;
  }
  ASSERT_NE(convert, nullptr);
  convert->setFocus();
  QTest::keyClick(convert, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &formats);
  QTest::keyClick(&formats, Qt::Key_Tab);
  ASSERT_NE(qobject_cast<QPushButton*>(QApplication::focusWidget()), nullptr);
  EXPECT_EQ(static_cast<QPushButton*>(QApplication::focusWidget())->text(),
            QStringLiteral("Co&nvert to One"));
}

// Run a second time under the GTK platform theme (see CMakeLists.txt), where
// Return presses a focused check box unless the sheet says otherwise.
TEST_F(OptionsTest, ReturnOnACheckOrRadioPressesOk) {
  if (qgetenv("QT_QPA_PLATFORMTHEME") == "gtk3" &&
      !QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath))
           .exists(QStringLiteral("platformthemes/libqgtk3.so")))
    GTEST_SKIP() << "the GTK platform theme is not installed (qt6-gtk-platformtheme)";
  settings.doNotLoadHiddenFiles = 0;
  settings.monoType = MonoMixMode::Average;
  for (const char* text : {"&Do not load hidden files", "&L channel"}) {
    Open("General");
    QApplication::setActiveWindow(sheet);
    QAbstractButton* choice = Button(text);
    choice->setFocus();
    const bool checked = choice->isChecked();
    QTest::keyClick(choice, Qt::Key_Return);
    EXPECT_EQ(sheet->result(), QDialog::Accepted) << text;
    EXPECT_FALSE(sheet->isVisible()) << text;
    EXPECT_EQ(choice->isChecked(), checked) << text;
  }
}

}  // namespace
}  // namespace quillo::test
