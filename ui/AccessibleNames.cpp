#include "ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "ui/ProgressDialog.h"
#include "ui/Translate.h"

namespace quillo {

namespace {

// A label's words: the mnemonic's "&" taken out ("&&" is a shown "&"), and
// the colon that ends a label, which is punctuation, not a name.
QString Words(QString text) {
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == u'&') text.remove(i, 1);  // skips the "&" a "&&" leaves
  text = text.trimmed();
  while (text.endsWith(u':')) text.chop(1);
  return text.trimmed();
}

QString ShownText(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  return {};
}

bool HasWords(const QString& text) {
  for (QChar c : text)
    if (c.isLetterOrNumber()) return true;
  return false;
}

// A drop-down list as Qt presents it, but named by its label rather than by
// the entry it shows: on Linux Qt names it by its value, which tells a
// screen reader's user what is chosen but never what is being chosen.
class LabelledComboBox final : public QAccessibleWidget {
 public:
  explicit LabelledComboBox(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value)
      return Box()->isEditable() ? Box()->lineEdit()->text() : Box()->currentText();
    // The accessible name, else the buddy label's text.
    return QAccessibleWidget::text(t);
  }
  int childCount() const override { return Box()->isEditable() ? 2 : 1; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(Box()->view());
    if (index == 1 && Box()->isEditable())
      return QAccessible::queryAccessibleInterface(Box()->lineEdit());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child->object() == Box()->view()) return 0;
    if (Box()->isEditable() && child->object() == Box()->lineEdit()) return 1;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    if (Box()->isEditable() && Box()->lineEdit()->rect().contains(x, y)) return child(1);
    return nullptr;
  }
  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  QString localizedActionDescription(const QString& action) const override {
    if (action == showMenuAction() || action == pressAction())
      return QComboBox::tr("Open the combo box selection popup");
    return {};
  }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return;
    if (Box()->view()->isVisible())
      Box()->hidePopup();
    else
      Box()->showPopup();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QComboBox* Box() const { return static_cast<QComboBox*>(object()); }
};

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object) {
  if (!object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (className == QLatin1String(QComboBox::staticMetaObject.className()))
    return new LabelledComboBox(widget);
  // The progress dialogs are plain widgets with a dialog's frame.
  if (className == QLatin1String(ProgressDialog::staticMetaObject.className()))
    return new QAccessibleWidget(widget, QAccessible::Dialog);
  return nullptr;
}

QString ArrowName(Qt::ArrowType arrow) {
  switch (arrow) {
    case Qt::UpArrow:
      return Tr("Step up");
    case Qt::DownArrow:
      return Tr("Step down");
    default:
      return {};
  }
}

// The name a control without one takes from what the user sees.
QString NameFromScreen(QWidget* widget, const QHash<const QWidget*, const QLabel*>& buddies) {
  if (const QLabel* label = buddies.value(widget)) return Words(label->text());
  auto* button = qobject_cast<QAbstractButton*>(widget);
  if (button == nullptr || HasWords(button->text())) return {};
  if (auto* tool = qobject_cast<QToolButton*>(button); tool && tool->arrowType() != Qt::NoArrow)
    return ArrowName(tool->arrowType());
  return button->toolTip();
}

// A compound control's parts carry its name: the edit and the arrows of a
// number field, the edit and the list of a drop-down.
void NameParts(QWidget* whole) {
  const QString name = whole->accessibleName();
  if (name.isEmpty()) return;
  const auto give = [&](QWidget* part) {
    if (part == nullptr || !part->accessibleName().isEmpty()) return;
    part->setAccessibleName(name);
    if (part->accessibleDescription().isEmpty())
      part->setAccessibleDescription(whole->accessibleDescription());
  };
  if (auto* box = qobject_cast<QComboBox*>(whole)) {
    give(box->view());
    give(box->lineEdit());
    return;
  }
  if (whole->focusProxy() != nullptr && whole->isAncestorOf(whole->focusProxy()))
    give(whole->focusProxy());
  for (auto* arrow : whole->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
    if (arrow->arrowType() != Qt::NoArrow && arrow->accessibleDescription().isEmpty())
      arrow->setAccessibleDescription(name);
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(AccessibleFactory);
}

void NameAfter(QWidget* control, const QWidget* label, const QLabel* description) {
  control->setAccessibleName(Words(ShownText(label)));
  if (description != nullptr)
    control->setAccessibleDescription(QString(description->text()).replace(u'\n', u' '));
}

void NameControls(QWidget* root) {
  QHash<const QWidget*, const QLabel*> buddies;
  const QList<QWidget*> widgets = root->findChildren<QWidget*>();
  for (const QWidget* widget : widgets)
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->buddy())
      buddies.insert(label->buddy(), label);
  // Parents come before their children, so a whole is named before its parts.
  for (QWidget* widget : widgets) {
    if (widget->accessibleName().isEmpty()) {
      const QString name = NameFromScreen(widget, buddies);
      if (!name.isEmpty()) widget->setAccessibleName(name);
    }
    NameParts(widget);
  }
}

}  // namespace quillo
