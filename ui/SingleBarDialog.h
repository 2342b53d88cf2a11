#pragma once

#include <string>

#include "ui/ProgressDialog.h"

class QLabel;
class QProgressBar;

namespace quillo {

// The progress of adding files: one caption, one bar, Cancel.
class SingleBarDialog final : public ProgressDialog {
  Q_OBJECT

 public:
  // Shown at once, centred over `parent`.
  explicit SingleBarDialog(QWidget* parent);

  void SetCaption(const std::string& text);
  void SetRange(int maximum);
  void SetPosition(int position);
  void Step();
  int Position() const;
  int Maximum() const;

 private:
  QLabel* caption_;
  QProgressBar* bar_;
};

// A bar without a percentage text, as both dialogs show them.
QProgressBar* MakeProgressBar(QWidget* parent);

}  // namespace quillo
