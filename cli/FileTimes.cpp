#include "cli/FileTimes.h"

namespace quillo {

void FileTimes::Touch(size_t file) {
  if (file >= spans_.size()) return;
  const Clock::time_point now = Clock::now();
  Span& span = spans_[file];
  if (span.first == Clock::time_point()) span.first = now;
  span.last = now;
}

double FileTimes::Seconds(size_t file) const {
  if (file >= spans_.size()) return 0;
  return std::chrono::duration<double>(spans_[file].last - spans_[file].first).count();
}

}  // namespace quillo
