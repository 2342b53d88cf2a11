#include "ui/SingleBarDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/Translate.h"
#include "ui/UiScale.h"

namespace quillo {

QProgressBar* MakeProgressBar(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setTextVisible(false);
  bar->setFixedHeight(Scaled(20));
  bar->setRange(0, 1);
  bar->setValue(0);
  return bar;
}

SingleBarDialog::SingleBarDialog(QWidget* parent) : ProgressDialog(parent) {
  caption_ = AddCaption();
  bar_ = MakeProgressBar(this);
  bar_->setAccessibleName(Tr("Progress"));
  Body()->addWidget(bar_);
  ShowCentred();
}

void SingleBarDialog::SetCaption(const std::string& text) {
  SetCaptionText(caption_, QString::fromStdString(text));
}

void SingleBarDialog::SetRange(int maximum) { bar_->setRange(0, maximum > 0 ? maximum : 1); }
void SingleBarDialog::SetPosition(int position) { bar_->setValue(position); }
void SingleBarDialog::Step() { bar_->setValue(bar_->value() + 1); }
int SingleBarDialog::Position() const { return bar_->value(); }
int SingleBarDialog::Maximum() const { return bar_->maximum(); }

}  // namespace quillo
