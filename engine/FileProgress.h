#pragma once

#include <cstdint>
#include <string>

#include "engine/ConversionProgress.h"

namespace quillo {

// Drives the file caption and bar of one pass: "[%d%%] <verb> <name>...".
// The display is touched only when the whole percentage or the bar
// position grows.
class FileProgress {
 public:
  // `verb` is "Converting", "Normalizing" or "Preprocessing".
  FileProgress(ConversionProgress& progress, uint64_t total, std::string verb,
               std::string displayName);

  void Update(uint64_t position);
  // After a normal end: shows 100 % and a full bar unless already shown.
  void Finish();

 private:
  void ShowPercent(int percent);

  ConversionProgress& progress_;
  std::string verb_;
  std::string name_;
  uint64_t divisor_;
  uint64_t barStep_;
  int width_;
  int lastPercent_ = 0;
  int lastBar_ = 0;
};

}  // namespace quillo
