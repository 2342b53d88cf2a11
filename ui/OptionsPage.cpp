#include "ui/OptionsPage.h"

#include <QGroupBox>
#include <QLineEdit>
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

}  // namespace quillo
