#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

#include "engine/ConversionProgress.h"
#include "platform/TerminationSignals.h"

namespace quillo {

// Conversion progress on a terminal: one line on standard error, redrawn in
// place, when standard error is a terminal; silent otherwise. Ctrl+C, a kill
// and a closed terminal cancel the run, like the Cancel button: the current
// output is abandoned and removed, old targets stay. Any thread may call it.
class TerminalProgress final : public ConversionProgress {
 public:
  // The line is kept shorter than the terminal is wide (`columns`; 0 asks
  // the terminal of standard error), so that it never wraps: a wrapped line
  // could not be cleared, and the next text would land on its first row.
  TerminalProgress(std::ostream& err, bool enabled, int columns = 0)
      : err_(err), enabled_(enabled), columns_(columns) {}
  ~TerminalProgress() override;

  void SetOverallText(const std::string& text) override;
  void SetOverallRange(int files) override;
  void StepOverall() override;
  void SetFileText(const std::string& text) override;
  int FileBarWidth() const override { return kBarWidth; }
  void SetFileBar(int position) override;
  void Pump() override {}
  bool IsCancelled() const override { return stopSignals_.Received(); }

  // Writes `errText` to standard error and `outText` to `out`, each flushed at
  // once, above the progress line: the line is cleared first and drawn again
  // below, so that no text lands on it when both streams are the terminal.
  void Print(std::ostream& out, const std::string& outText, const std::string& errText);

 private:
  static constexpr int kBarWidth = 30;
  void Draw();

  std::ostream& err_;
  const bool enabled_;
  const int columns_;
  std::mutex mutex_;
  int files_ = 0;
  int done_ = 0;
  int bar_ = 0;
  std::string overall_;
  std::string file_;
  bool drawn_ = false;
  TerminationSignals stopSignals_;
};

}  // namespace quillo
