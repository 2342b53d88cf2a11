#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <type_traits>
#include <utility>

#include "settings/ConversionSettings.h"
#include "settings/SettingDescriptions.h"
#include "ui/SpinEdit.h"
#include "ui/Translate.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace quillo {

class UserPrompts;

// One page of the options sheet. A page holds its own copy of the settings:
// it is given them when the sheet is made, creates its controls the first
// time it is shown, reads them back into its copy when the user leaves it,
// and writes its own fields of the copy into the settings when the sheet
// closes with OK. A page never shown writes back what it was given.
class OptionsPage : public QWidget {
 public:
  OptionsPage(const QString& caption, const ConversionSettings& settings)
      : values_(settings), caption_(caption) {}

  const QString& Caption() const { return caption_; }
  bool IsBuilt() const { return built_; }
  // Creates and fills the controls, once.
  void EnsureBuilt() {
    if (built_) return;
    built_ = true;
    Build();
  }
  // Reads the controls into the copy and checks them. False, after the user
  // was told why and the control concerned took the focus, keeps the user on
  // the page. Called only on a page that was shown.
  virtual bool Leave() { return true; }
  virtual void Apply(ConversionSettings& settings) const = 0;

 protected:
  // How far a page's dependent controls stand in from their check or radio.
  static constexpr int kIndent = 20;

  virtual void Build() = 0;
  // Tells the user `text` (an exclamation), gives `control` the focus with its
  // text selected, and returns false: the end of a refused leave check.
  // `text` is looked up in the window's language; a composed one is given
  // already translated.
  static bool Refuse(UserPrompts& prompts, const char* text, QWidget* control);
  static bool Refuse(UserPrompts& prompts, const QString& text, QWidget* control);
  // Refuses a number outside `setting`'s range: "Please enter an integer
  // between 1 and 32767."
  static bool RefuseOutside(UserPrompts& prompts, const SettingDescription& setting,
                            QWidget* control);
  // A group titled `title` below the page's groups so far; the rest of the
  // page stays empty below the last.
  QGroupBox* AddGroup(const char* title);
  // The "Encoding Options" group, alone on an encoding page.
  QGroupBox* AddEncodingGroup() { return AddGroup("Encoding Options"); }
  // Copies the `fields` of `from` into `to`: what Apply writes.
  template <class Record, class... Fields>
  static void CopyFields(Record& to, const Record& from, Fields Record::*... fields) {
    ((to.*fields = from.*fields), ...);
  }

  // The controls of the pages, each showing one value of the copy.
  // A check box checked when `value` is not 0; what a check box holds, as 1 or 0.
  static QCheckBox* Check(QWidget* parent, const char* text, int32_t value);
  static int32_t Checked(const QCheckBox* check);
  // A label whose mnemonic gives `buddy` the focus.
  static QLabel* Label(QWidget* parent, const char* text, QWidget* buddy);
  // An empty drop-down list named `name`, and a number edit showing `value`.
  static QComboBox* List(QWidget* parent, const char* name);
  static SpinEdit* Spin(QWidget* parent, const char* name, SpinEdit::Kind kind, int32_t minimum,
                        int32_t maximum, int32_t step, int32_t value);
  // A radio with `id` in `group`, checked when `id` is `checked`.
  static QRadioButton* Radio(QButtonGroup* group, QWidget* parent, const char* text, int id,
                             int checked);
  // Radios in one exclusive group, each with its value as its id, the one
  // with `value` checked. A value no radio has checks `other` and becomes
  // it; without `other` no radio is checked and the value stays.
  template <class Value>
  static QButtonGroup* Radios(QWidget* parent,
                              std::initializer_list<std::pair<const char*, Value>> radios,
                              Value& value, std::optional<std::type_identity_t<Value>> other = {}) {
    bool known = false;
    for (const auto& radio : radios) known = known || radio.second == value;
    if (!known && other) value = *other;
    auto* group = new QButtonGroup(parent);
    for (const auto& [text, id] : radios)
      Radio(group, parent, text, static_cast<int>(id), static_cast<int>(value));
    return group;
  }
  // The checked radio's value into `value`; none checked keeps it.
  template <class Value>
  static void ReadRadios(const QButtonGroup* group, Value& value) {
    if (group->checkedId() >= 0) value = static_cast<Value>(group->checkedId());
  }
  // Selects the entry of a drop-down list whose value is `value`, else the
  // first; the value of the selected entry, or `none` when none is.
  static void SelectValue(QComboBox* list, int32_t value);
  static int32_t SelectedValue(const QComboBox* list, int32_t none);
  // Fills a drop-down list with (text, value) entries and selects the one
  // with `value`; none matching selects the first, whose value is returned.
  template <class Value>
  static Value FillList(QComboBox* list,
                        std::initializer_list<std::pair<const char*, Value>> entries, Value value) {
    for (const auto& [text, entryValue] : entries)
      list->addItem(Tr(text), static_cast<int>(entryValue));
    SelectValue(list, static_cast<int32_t>(value));
    return static_cast<Value>(list->currentData().toInt());
  }

  ConversionSettings values_;  // the page's copy

 private:
  QString caption_;
  bool built_ = false;
};

}  // namespace quillo
