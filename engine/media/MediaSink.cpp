#include "engine/media/MediaSink.h"

namespace quillo {

bool MediaSink::WriteWide(const double* left, const double* right, int frames) {
  if (frames <= 0) return true;
  const auto count = static_cast<size_t>(frames);
  if (ditheredLeft_.size() < count) ditheredLeft_.resize(count);
  for (size_t i = 0; i < count; ++i)
    ditheredLeft_[i] = static_cast<int16_t>(dither_.Quantize(left[i], 16));
  if (right == nullptr || right == left)
    return Write(ditheredLeft_.data(), ditheredLeft_.data(), frames);
  if (ditheredRight_.size() < count) ditheredRight_.resize(count);
  for (size_t i = 0; i < count; ++i)
    ditheredRight_[i] = static_cast<int16_t>(dither_.Quantize(right[i], 16));
  return Write(ditheredLeft_.data(), ditheredRight_.data(), frames);
}

}  // namespace quillo
