#include "backends/files/DwvwDecoder.h"

namespace quillo {

void DwvwDecoder::Reset(int bitWidth) {
  inputPos_ = 0;
  inputEnd_ = 0;
  ended_ = false;
  bits_ = 0;
  held_ = 0;
  bitWidth_ = bitWidth;
  maxModifier_ = bitWidth / 2;
  maxDelta_ = 1 << (bitWidth - 1);
  span_ = 1 << bitWidth;
  lastWidth_ = 0;
  lastSample_ = 0;
}

bool DwvwDecoder::Hold(int count, const Refill& refill) {
  while (held_ < count) {
    if (inputPos_ == inputEnd_) {
      inputEnd_ = ended_ ? 0 : refill(input_.data(), input_.size());
      inputPos_ = 0;
      if (inputEnd_ == 0) {
        ended_ = true;
        return false;
      }
    }
    // Older bits shift out at the top; at most 31 are ever held.
    bits_ = (bits_ << 8) | input_[inputPos_++];
    held_ += 8;
  }
  return true;
}

uint32_t DwvwDecoder::Take(int count) {
  held_ -= count;
  return static_cast<uint32_t>(bits_ >> held_) & ((1u << count) - 1u);
}

bool DwvwDecoder::DecodeSample(const Refill& refill, int32_t& out) {
  // The width modifier: zeros up to a one bit, at most half the width.
  int modifier = 0;
  while (modifier < maxModifier_) {
    if (!Hold(1, refill)) return false;
    if (Take(1) != 0) break;
    ++modifier;
  }
  if (modifier != 0) {
    if (!Hold(1, refill)) return false;
    if (Take(1) != 0) modifier = -modifier;
  }
  const int width = (lastWidth_ + modifier + bitWidth_) % bitWidth_;

  // The delta's top bit is implied; a sign bit follows, and the largest
  // magnitude one bit short of the top needs one more bit.
  int delta = 0;
  if (width != 0) {
    if (!Hold(width, refill)) return false;
    delta = static_cast<int>(Take(width - 1) | (1u << (width - 1)));
    const bool negative = Take(1) != 0;
    if (delta == maxDelta_ - 1) {
      if (!Hold(1, refill)) return false;
      delta += static_cast<int>(Take(1));
    }
    if (negative) delta = -delta;
  }

  int sample = lastSample_ + delta;
  if (sample >= maxDelta_) {
    sample -= span_;
  } else if (sample < -maxDelta_) {
    sample += span_;
  }
  lastWidth_ = width;
  lastSample_ = sample;
  out = static_cast<int32_t>(static_cast<uint32_t>(sample) << (32 - bitWidth_));
  return true;
}

size_t DwvwDecoder::Decode(const Refill& refill, int32_t* out, size_t count) {
  size_t decoded = 0;
  // Once a sample was cut off, the bits left cannot start another.
  while (decoded < count && !(ended_ && held_ == 0) && DecodeSample(refill, out[decoded])) {
    ++decoded;
  }
  if (decoded < count) held_ = 0;
  return decoded;
}

}  // namespace quillo
