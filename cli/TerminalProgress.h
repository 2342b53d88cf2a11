#pragma once

#include <iosfwd>
#include <string>

#include "engine/ConversionProgress.h"
#include "platform/TerminationSignals.h"

namespace quillo {

// Conversion progress on a terminal: one line on standard error, redrawn in
// place, when standard error is a terminal; silent otherwise. Ctrl+C, a kill
// and a closed terminal cancel the run, like the Cancel button: the current
// output is abandoned and removed, old targets stay.
class TerminalProgress final : public ConversionProgress {
 public:
  TerminalProgress(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
  ~TerminalProgress() override;

  void SetOverallText(const std::string& text) override;
  void SetOverallRange(int files) override { files_ = files; }
  void StepOverall() override { ++done_; }
  void SetFileText(const std::string& text) override;
  int FileBarWidth() const override { return kBarWidth; }
  void SetFileBar(int position) override;
  void Pump() override {}
  bool IsCancelled() const override { return stopSignals_.Received(); }

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
  TerminationSignals stopSignals_;
};

}  // namespace quillo
