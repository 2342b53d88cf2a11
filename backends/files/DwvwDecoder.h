#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace quillo {

// Decodes Delta With Variable Word width: each sample is the previous one
// plus a delta whose bit width changes by a modifier coded in unary. One
// state runs through the interleaved samples of every channel.
class DwvwDecoder {
 public:
  // Hands over the next bytes of the bit stream: up to `max` into `into`;
  // returns how many, 0 once the data has ended.
  using Refill = std::function<size_t(uint8_t* into, size_t max)>;

  // Starts a stream of samples of `bitWidth` bits (8 to 24).
  void Reset(int bitWidth);
  // Decodes up to `count` samples into `out`, each aligned to the most
  // significant bit of 32. Fewer only when the data ends: the samples whose
  // bits were all there are delivered, one cut off by the end is not.
  size_t Decode(const Refill& refill, int32_t* out, size_t count);

 private:
  // Makes sure `count` bits are held; false when the data ends first.
  bool Hold(int count, const Refill& refill);
  uint32_t Take(int count);
  bool DecodeSample(const Refill& refill, int32_t& out);

  std::array<uint8_t, 256> input_{};
  size_t inputPos_ = 0;
  size_t inputEnd_ = 0;
  bool ended_ = false;
  uint64_t bits_ = 0;
  int held_ = 0;

  int bitWidth_ = 16;
  int maxModifier_ = 8;  // bits of a unary modifier: half the width
  int maxDelta_ = 1 << 15;
  int span_ = 1 << 16;
  int lastWidth_ = 0;
  int lastSample_ = 0;
};

}  // namespace quillo
