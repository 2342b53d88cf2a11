#include "ui/SpinEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/UiScale.h"

namespace quillo {

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  // The edit keeps the focus; its Up and Down keys do what the arrows do.
  button->setFocusPolicy(Qt::NoFocus);
  button->setFixedSize(Scaled(16), Scaled(11));
  return button;
}

}  // namespace

SpinEdit::SpinEdit(QWidget* parent, Kind kind, int32_t minimum, int32_t maximum, int32_t step)
    : QWidget(parent), kind_(kind), minimum_(minimum), maximum_(maximum), step_(step) {
  edit_ = new QLineEdit(this);
  edit_->installEventFilter(this);
  auto* up = ArrowButton(this, Qt::UpArrow);
  auto* down = ArrowButton(this, Qt::DownArrow);
  connect(up, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down, &QToolButton::clicked, this, [this] { StepBy(-1); });

  auto* arrows = new QVBoxLayout;
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(up);
  arrows->addWidget(down);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(edit_, 1);
  layout->addLayout(arrows);
  setFocusProxy(edit_);
}

void SpinEdit::SetValue(int32_t value) { edit_->setText(QString::number(value)); }

std::optional<int32_t> SpinEdit::Value() const { return Parse(edit_->text(), kind_); }

void SpinEdit::StepBy(int steps) {
  // A step as wide as the range would only jump between its ends.
  if (static_cast<int64_t>(step_) >= static_cast<int64_t>(maximum_) - minimum_) return;
  const int64_t start = Value().value_or(minimum_);
  const int64_t next =
      std::clamp<int64_t>(start + static_cast<int64_t>(steps) * step_, minimum_, maximum_);
  SetValue(static_cast<int32_t>(next));
  edit_->selectAll();
}

std::optional<int32_t> SpinEdit::Parse(const QString& text, Kind kind) {
  const QString trimmed = text.trimmed();
  qsizetype digits = 0;
  if (kind == Kind::Signed && (trimmed.startsWith(u'-') || trimmed.startsWith(u'+'))) digits = 1;
  if (digits == trimmed.size()) return std::nullopt;
  for (qsizetype i = digits; i < trimmed.size(); ++i)
    if (trimmed[i] < u'0' || trimmed[i] > u'9') return std::nullopt;
  bool ok = false;
  const qlonglong number = trimmed.toLongLong(&ok, 10);
  if (!ok || number < INT32_MIN || number > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(number);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      StepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quillo
