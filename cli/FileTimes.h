#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "engine/RunResult.h"

namespace quillo {

// Times each file of a run from the first cell the run shows for it to the
// last: the seconds the file took, for --json. The run serialises the calls.
class FileTimes final : public RunListView {
 public:
  explicit FileTimes(size_t files) : spans_(files) {}

  void SetVolumeCell(size_t file, const std::string&) override { Touch(file); }
  void SetOutputCell(size_t file, const std::string&) override { Touch(file); }
  void EnsureVisible(size_t file) override { Touch(file); }
  void WidenOutputColumn(int) override {}

  // The seconds between the first and the last cell of `file`; 0 when none.
  double Seconds(size_t file) const;

 private:
  using Clock = std::chrono::steady_clock;
  struct Span {
    Clock::time_point first;
    Clock::time_point last;
  };
  void Touch(size_t file);

  std::vector<Span> spans_;
};

}  // namespace quillo
