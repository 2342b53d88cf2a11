#pragma once

#include <iosfwd>
#include <string>

#include "engine/ConversionProgress.h"

namespace quillo {

// Conversion progress on a terminal: one line on standard error, redrawn in
// place, when standard error is a terminal; silent otherwise. Ctrl+C sets the
// cancel flag, like the Cancel button.
class TerminalProgress final : public ConversionProgress {
 public:
  TerminalProgress(std::ostream& err, bool enabled);
  ~TerminalProgress() override;
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void SetOverallText(const std::string& text) override;
  void SetOverallRange(int files) override { files_ = files; }
  void StepOverall() override { ++done_; }
  void SetFileText(const std::string& text) override;
  int FileBarWidth() const override { return kBarWidth; }
  void SetFileBar(int position) override;
  void Pump() override {}
  bool IsCancelled() const override;

 private:
  static constexpr int kBarWidth = 30;
  void Draw();

  std::ostream& err_;
  bool enabled_;
  int files_ = 0;
  int done_ = 0;
  int bar_ = 0;
  std::string overall_;
  std::string file_;
  bool drawn_ = false;
};

}  // namespace quillo
