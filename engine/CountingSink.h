#pragma once

#include <cstdint>

#include "engine/ForwardingSink.h"

namespace quillo {

// Passes the blocks of a join on to its sink and counts the frames, so that
// each joined file's start in the output is known. Used on the run's worker
// thread only, like the sink it wraps.
class CountingSink final : public ForwardingSink {
 public:
  explicit CountingSink(MediaSink& sink) : ForwardingSink(sink) {}

  bool Write(const int16_t* left, const int16_t* right, int frames) override {
    frames_ += frames;
    return ForwardingSink::Write(left, right, frames);
  }
  bool WriteWide(const double* left, const double* right, int frames) override {
    frames_ += frames;
    return ForwardingSink::WriteWide(left, right, frames);
  }

  // The frames written so far.
  int64_t Frames() const { return frames_; }

 private:
  int64_t frames_ = 0;
};

}  // namespace quillo
