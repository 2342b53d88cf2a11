#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "tests/ui/UiTestSupport.h"
#include "ui/OptSheet.h"
#include "ui/OptionsPage.h"
#include "ui/SpinEdit.h"

// Texts in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace quillo::test {

// An options sheet on settings of its own, with scripted messages, a
// recording shell and a folder browser that answers `chosenFolder`.
class OptionsTest : public ::testing::Test {
 public:
  TempDir dir;
  ConversionSettings settings{dir.File("out")};
  ScriptedPrompts prompts;
  RecordingShell shell;
  WindowsMediaRuntime* windowsMedia = Backends().windowsMedia;
  QString chosenFolder;
  std::vector<std::pair<QString, QString>> browsed;  // the browser's title and start
  std::unique_ptr<COptSheet> owned;
  COptSheet* sheet = nullptr;  // the sheet the helpers below work on

  OptionsServices Services() {
    return {prompts, shell, windowsMedia, [this](QWidget*, const QString& title, const QString& start) {
              browsed.emplace_back(title, start);
              return chosenFolder;
            }};
  }

  // A new sheet on the settings, open on the page with `caption`.
  COptSheet& Open(const QString& caption = QStringLiteral("General")) {
    owned.reset();
    owned = std::make_unique<COptSheet>(nullptr, settings, Services());
    sheet = owned.get();
    sheet->show();
    EXPECT_TRUE(sheet->ShowPage(PageIndex(caption)));
    return *sheet;
  }
  int PageIndex(const QString& caption) const {
    for (int i = 0; i < sheet->PageCount(); ++i)
      if (sheet->Page(i).Caption() == caption) return i;
    ADD_FAILURE() << "no page " << caption.toStdString();
    return 0;
  }
  // OK pressed; true when the sheet closed.
  bool Ok() {
    sheet->OkButton()->click();
    return sheet->result() == QDialog::Accepted && !sheet->isVisible();
  }

  // The shown page's child by object name, and its check, radio or button by
  // text.
  template <class T>
  T* Named(const char* name) {
    T* found = sheet->Page(sheet->CurrentIndex()).findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr || !found->isVisible()) ADD_FAILURE() << "no " << name << " shown";
    return found;
  }
  QLineEdit* Edit(const char* name) {
    if (auto* spin = sheet->Page(sheet->CurrentIndex()).findChild<SpinEdit*>(QString::fromLatin1(name)))
      return spin->Edit();
    return Named<QLineEdit>(name);
  }
  QAbstractButton* Button(const char* text) {
    for (QAbstractButton* button : sheet->findChildren<QAbstractButton*>())
      if (button->isVisible() && button->text() == QString::fromUtf8(text)) return button;
    ADD_FAILURE() << "no button " << text << " shown";
    static QAbstractButton* none = nullptr;
    return none;
  }
  void Choose(const char* list, const QString& text) {
    QComboBox* box = Named<QComboBox>(list);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString() << " not in " << list;
    box->setCurrentIndex(index);
  }
  static QStringList Texts(const QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    return texts;
  }
};

}  // namespace quillo::test
