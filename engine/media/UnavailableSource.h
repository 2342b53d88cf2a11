#pragma once

#include "engine/media/MediaSource.h"

namespace quillo {

// The candidate for a back-end this build lacks: its Open always fails, so
// the factory moves on to the next candidate.
class UnavailableSource final : public MediaSource {
 public:
  void Close() override {}
  bool Open(const std::string&, int) override { return false; }
  int Read(int16_t*, int16_t*) override { return 0; }
};

}  // namespace quillo
