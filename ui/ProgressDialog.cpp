#include "ui/ProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "ui/AccessibleNames.h"
#include "ui/Translate.h"
#include "ui/UiScale.h"
#include "ui/WindowDrag.h"

namespace quillo {

namespace {
// About the width of the dialogs' 418 dialog units in the system font.
constexpr int kDialogWidth = 630;
constexpr int kMargin = 11;
}  // namespace

// A dialog of the window (its transient child, framed by the desktop as the
// window is) with a title and a close button; it keeps one size, so neither
// minimize nor maximize is offered.
ProgressDialog::ProgressDialog(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  InstallAccessibility();  // announced as a dialog
  setWindowTitle(QStringLiteral("Quillo"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(10);
  body_ = new QVBoxLayout;
  body_->setSpacing(4);
  layout->addLayout(body_);
  cancel_ = new QPushButton(Tr("Cancel"), this);
  cancel_->setAutoDefault(false);
  cancel_->setFixedWidth(std::max(Scaled(87), cancel_->sizeHint().width()));
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::Cancel);
  setFixedWidth(Scaled(kDialogWidth));
}

QLabel* ProgressDialog::AddCaption() {
  auto* caption = new QLabel(this);
  caption->setTextFormat(Qt::PlainText);
  caption->setFixedWidth(Scaled(kDialogWidth) - 2 * kMargin);
  body_->addWidget(caption);
  return caption;
}

void ProgressDialog::SetCaptionText(QLabel* caption, const QString& text) {
  // A long path must not widen the dialog: the middle of the text gives way,
  // and the whole text stays in the tool tip.
  caption->setText(caption->fontMetrics().elidedText(text, Qt::ElideMiddle, caption->width()));
  caption->setToolTip(text);
}

void ProgressDialog::ShowCentred() {
  adjustSize();
  setFixedHeight(sizeHint().height());
  if (QWidget* owner = parentWidget()) {
    const QPoint centre = owner->window()->geometry().center();
    move(centre.x() - width() / 2, centre.y() - height() / 2);
  }
  show();
}

void ProgressDialog::PumpEventsNow() {
  QCoreApplication::processEvents();
  lastPump_.restart();
}

void ProgressDialog::Finish() {
  finished_ = true;
  close();
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
  if (finished_) {
    event->accept();
    return;
  }
  cancelled_ = true;
  event->ignore();
}

void ProgressDialog::mousePressEvent(QMouseEvent* event) {
  if (!StartWindowDrag(*this, *event)) QWidget::mousePressEvent(event);
}

}  // namespace quillo
