#include "ui/DoubleBarDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/SingleBarDialog.h"
#include "ui/Translate.h"

namespace quillo {

DoubleBarDialog::DoubleBarDialog(QWidget* parent) : ProgressDialog(parent) {
  fileCaption_ = AddCaption();
  fileBar_ = MakeProgressBar(this);
  fileBar_->setRange(0, kFileBarRange);
  fileBar_->setAccessibleName(Tr("Progress of the current file"));
  Body()->addWidget(fileBar_);
  Body()->addSpacing(10);
  overallCaption_ = AddCaption();
  overallBar_ = MakeProgressBar(this);
  overallBar_->setAccessibleName(Tr("Progress of all files"));
  Body()->addWidget(overallBar_);
}

void DoubleBarDialog::SetOverallText(const std::string& text) {
  overallText_ = QString::fromStdString(text);
  SetCaptionText(overallCaption_, overallText_);
}

void DoubleBarDialog::SetOverallRange(int files) {
  overallBar_->setRange(0, files > 0 ? files : 1);
  overallBar_->setValue(0);
  if (!isVisible()) ShowCentred();
}

void DoubleBarDialog::StepOverall() { overallBar_->setValue(overallBar_->value() + 1); }

void DoubleBarDialog::SetFileText(const std::string& text) {
  SetCaptionText(fileCaption_, QString::fromStdString(text));
}

void DoubleBarDialog::SetFileBar(int position) { fileBar_->setValue(position); }

}  // namespace quillo
