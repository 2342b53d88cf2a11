#pragma once

#include <QString>

#include "engine/ConversionProgress.h"
#include "ui/ProgressDialog.h"

class QLabel;
class QProgressBar;

namespace quillo {

// The progress of a conversion: the current file above, the files of the
// run below, Cancel. It shows itself when the run starts, so the questions
// asked before the first file (a missing component) come without it.
class DoubleBarDialog final : public ProgressDialog, public ConversionProgress {
  Q_OBJECT

 public:
  explicit DoubleBarDialog(QWidget* parent);

  // ConversionProgress
  void SetOverallText(const std::string& text) override;
  void SetOverallRange(int files) override;
  void StepOverall() override;
  void SetFileText(const std::string& text) override;
  int FileBarWidth() const override { return kFileBarRange; }
  void SetFileBar(int position) override;
  void Pump() override { PumpEvents(); }
  bool IsCancelled() const override { return ProgressDialog::IsCancelled(); }

  const QString& OverallText() const { return overallText_; }
  QProgressBar* FileBar() const { return fileBar_; }
  QProgressBar* OverallBar() const { return overallBar_; }

 private:
  static constexpr int kFileBarRange = 1000;

  QLabel* fileCaption_;
  QProgressBar* fileBar_;
  QLabel* overallCaption_;
  QProgressBar* overallBar_;
  QString overallText_;
};

}  // namespace quillo
