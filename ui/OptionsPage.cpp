#include "ui/OptionsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/UserPrompts.h"
#include "ui/Translate.h"

namespace quillo {

bool OptionsPage::Refuse(UserPrompts& prompts, const char* text, QWidget* control) {
  return Refuse(prompts, Tr(text), control);
}

bool OptionsPage::Refuse(UserPrompts& prompts, const QString& text, QWidget* control) {
  prompts.Warn(text.toStdString());
  control->setFocus(Qt::OtherFocusReason);
  if (auto* edit =
          qobject_cast<QLineEdit*>(control->focusProxy() ? control->focusProxy() : control))
    edit->selectAll();
  return false;
}

bool OptionsPage::RefuseOutside(UserPrompts& prompts, const SettingDescription& setting,
                                QWidget* control) {
  return Refuse(prompts,
                Tr("Please enter an integer between %1 and %2.").arg(setting.low).arg(setting.high),
                control);
}

QGroupBox* OptionsPage::AddGroup(const char* title) {
  auto* column = static_cast<QVBoxLayout*>(layout());
  if (column == nullptr) {
    column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch(1);
  }
  auto* group = new QGroupBox(Tr(title), this);
  column->insertWidget(column->count() - 1, group);
  return group;
}

QCheckBox* OptionsPage::Check(QWidget* parent, const char* text, int32_t value) {
  auto* check = new QCheckBox(Tr(text), parent);
  check->setChecked(value != 0);
  return check;
}

int32_t OptionsPage::Checked(const QCheckBox* check) { return check->isChecked() ? 1 : 0; }

QLabel* OptionsPage::Label(QWidget* parent, const char* text, QWidget* buddy) {
  auto* label = new QLabel(Tr(text), parent);
  label->setBuddy(buddy);
  return label;
}

QComboBox* OptionsPage::List(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  return list;
}

SpinEdit* OptionsPage::Spin(QWidget* parent, const char* name, SpinEdit::Kind kind, int32_t minimum,
                            int32_t maximum, int32_t step, int32_t value) {
  auto* spin = new SpinEdit(parent, kind, minimum, maximum, step);
  spin->SetValue(value);
  spin->setObjectName(QString::fromLatin1(name));
  return spin;
}

QRadioButton* OptionsPage::Radio(QButtonGroup* group, QWidget* parent, const char* text, int id,
                                 int checked) {
  auto* radio = new QRadioButton(Tr(text), parent);
  radio->setChecked(id == checked);
  group->addButton(radio, id);
  return radio;
}

void OptionsPage::SelectValue(QComboBox* list, int32_t value) {
  const int index = list->findData(value);
  list->setCurrentIndex(index < 0 ? 0 : index);
}

int32_t OptionsPage::SelectedValue(const QComboBox* list, int32_t none) {
  return list->currentIndex() < 0 ? none : list->currentData().toInt();
}

}  // namespace quillo
