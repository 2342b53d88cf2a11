#include "ui/OptionsPage.h"

#include <QLineEdit>

#include "engine/UserPrompts.h"

namespace quillo {

bool OptionsPage::Refuse(UserPrompts& prompts, const char* text, QWidget* control) {
  prompts.Warn(text);
  control->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control->focusProxy() ? control->focusProxy() : control))
    edit->selectAll();
  return false;
}

}  // namespace quillo
