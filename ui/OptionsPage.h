#pragma once

#include <QComboBox>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <initializer_list>
#include <utility>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace quillo {

class ConversionSettings;
class UserPrompts;

// One page of the options sheet. A page holds its own copies of the values it
// shows: it is given them when the sheet is made, creates its controls the
// first time it is shown, reads them back when the user leaves it, and
// writes its copies into the settings when the sheet closes with OK. A page
// never shown writes back what it was given.
class OptionsPage : public QWidget {
 public:
  explicit OptionsPage(const QString& caption) : caption_(caption) {}

  const QString& Caption() const { return caption_; }
  bool IsBuilt() const { return built_; }
  // Creates and fills the controls, once.
  void EnsureBuilt() {
    if (built_) return;
    built_ = true;
    Build();
  }
  // Reads the controls into the copies and checks them. False, after the
  // user was told why and the control concerned took the focus, keeps the
  // user on the page. Called only on a page that was shown.
  virtual bool Leave() { return true; }
  virtual void Apply(ConversionSettings& settings) const = 0;

 protected:
  virtual void Build() = 0;
  // Tells the user `text` (an exclamation), gives `control` the focus with its
  // text selected, and returns false: the end of a refused leave check.
  static bool Refuse(UserPrompts& prompts, const char* text, QWidget* control);
  // The "Encoding Options" group at the top of an encoding page, with the
  // rest of the page left empty below it.
  QGroupBox* AddEncodingGroup();

  // The controls of the pages, each showing one of the page's copies.
  // A check box checked when `value` is not 0; what a check box holds, as 1 or 0.
  static QCheckBox* Check(QWidget* parent, const char* text, int32_t value);
  static int32_t Checked(const QCheckBox* check);
  // A radio with `id` in `group`, checked when `id` is `checked`.
  static QRadioButton* Radio(QButtonGroup* group, QWidget* parent, const char* text, int id,
                             int checked);
  // Selects the entry of a drop-down list whose value is `value`, else the
  // first; the value of the selected entry, or `none` when none is.
  static void SelectValue(QComboBox* list, int32_t value);
  static int32_t SelectedValue(const QComboBox* list, int32_t none);
  // Fills a drop-down list with (text, value) entries and selects the one
  // with `value`; none matching selects the first, whose value is returned.
  template <class Value>
  static Value FillList(QComboBox* list,
                        std::initializer_list<std::pair<const char*, Value>> entries,
                        Value value) {
    for (const auto& [text, entryValue] : entries)
      list->addItem(QString::fromUtf8(text), static_cast<int>(entryValue));
    SelectValue(list, static_cast<int32_t>(value));
    return static_cast<Value>(list->currentData().toInt());
  }

 private:
  QString caption_;
  bool built_ = false;
};

}  // namespace quillo
