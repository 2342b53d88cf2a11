#include "engine/FileProgress.h"

#include <algorithm>

namespace quillo {

FileProgress::FileProgress(ConversionProgress& progress, uint64_t total, std::string verb,
                           std::string displayName)
    : progress_(progress), verb_(std::move(verb)), name_(std::move(displayName)) {
  if (total == 0) total = 1;
  divisor_ = std::max<uint64_t>(total / 100, 1);
  width_ = std::max(progress_.FileBarWidth(), 1);
  barStep_ = std::max<uint64_t>(total / static_cast<uint64_t>(width_), 1);
  progress_.SetFileBar(0);
  ShowPercent(0);
}

void FileProgress::ShowPercent(int percent) {
  progress_.SetFileText("[" + std::to_string(percent) + "%] " + verb_ + " " + name_ + "...");
}

void FileProgress::Update(uint64_t position) {
  const int percent = static_cast<int>(std::min<uint64_t>(position / divisor_, 100));
  if (percent > lastPercent_) {
    lastPercent_ = percent;
    ShowPercent(percent);
  }
  const int bar = static_cast<int>(std::min<uint64_t>(position / barStep_, static_cast<uint64_t>(width_)));
  if (bar > lastBar_) {
    lastBar_ = bar;
    progress_.SetFileBar(bar);
  }
}

void FileProgress::Finish() {
  if (lastPercent_ == 100) return;
  lastPercent_ = 100;
  ShowPercent(100);
  progress_.SetFileBar(width_);
}

}  // namespace quillo
