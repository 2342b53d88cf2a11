#include "ui/OptionsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/UserPrompts.h"

namespace quillo {

bool OptionsPage::Refuse(UserPrompts& prompts, const char* text, QWidget* control) {
  prompts.Warn(text);
  control->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control->focusProxy() ? control->focusProxy() : control))
    edit->selectAll();
  return false;
}

QGroupBox* OptionsPage::AddEncodingGroup() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* group = new QGroupBox(QStringLiteral("Encoding Options"), this);
  layout->addWidget(group);
  layout->addStretch(1);
  return group;
}

QCheckBox* OptionsPage::Check(QWidget* parent, const char* text, int32_t value) {
  auto* check = new QCheckBox(QString::fromUtf8(text), parent);
  check->setChecked(value != 0);
  return check;
}

int32_t OptionsPage::Checked(const QCheckBox* check) { return check->isChecked() ? 1 : 0; }

QRadioButton* OptionsPage::Radio(QButtonGroup* group, QWidget* parent, const char* text, int id,
                                 int checked) {
  auto* radio = new QRadioButton(QString::fromUtf8(text), parent);
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
