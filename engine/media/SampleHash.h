#pragma once

#include <bit>
#include <cstdint>

namespace quillo {

// A running hash of PCM, sample by sample in frame order (left, then right),
// over each sample's value at full scale 1.0: the same audio hashes the same
// whether it arrives as 16-bit integers, wider integers or floats, so what an
// encoder was given can be compared with what a decoder gives back.
class SampleHash {
 public:
  void Add(double sample) {
    // +0.0 and -0.0 are one value.
    const uint64_t bits = std::bit_cast<uint64_t>(sample + 0.0);
    for (int shift = 0; shift < 64; shift += 8) {
      value_ ^= (bits >> shift) & 0xFF;
      value_ *= 0x100000001B3ull;  // FNV-1a
    }
  }

  // A block as the engine passes it: `right` is ignored for one channel.
  template <typename Sample>
  void AddBlock(const Sample* left, const Sample* right, int frames, int channels, double scale) {
    for (int i = 0; i < frames; ++i) {
      Add(static_cast<double>(left[i]) * scale);
      if (channels == 2) Add(static_cast<double>(right[i]) * scale);
    }
  }

  uint64_t value() const { return value_; }

 private:
  uint64_t value_ = 0xCBF29CE484222325ull;
};

}  // namespace quillo
