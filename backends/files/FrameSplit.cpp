#include "backends/files/FrameSplit.h"

#include <algorithm>
#include <array>

#include "engine/media/Downmix.h"

namespace quillo {
namespace {

// Folding uses the first eight channels of a frame.
constexpr int kMaxMixChannels = 8;

template <typename Sample>
void Split(const uint8_t* data, int frames, int channels, size_t sampleBytes,
           Sample (*convert)(const uint8_t*), Sample* left, Sample* right) {
  const size_t frameBytes = static_cast<size_t>(channels) * sampleBytes;
  const int mixChannels = std::min(channels, kMaxMixChannels);
  for (int f = 0; f < frames; ++f, data += frameBytes) {
    if (channels == 1) {
      left[f] = convert(data);
      continue;
    }
    Sample l = 0;
    Sample r = 0;
    if (channels == 2) {
      l = convert(data);
      r = convert(data + sampleBytes);
    } else {
      std::array<Sample, kMaxMixChannels> frame{};
      for (int c = 0; c < mixChannels; ++c) {
        frame[static_cast<size_t>(c)] = convert(data + static_cast<size_t>(c) * sampleBytes);
      }
      DownmixToStereo(mixChannels, frame.data(), l, r);
    }
    left[f] = l;
    if (right != nullptr) {
      right[f] = r;
    }
  }
}

}  // namespace

void SplitFrames(const uint8_t* data, int frames, int channels, size_t sampleBytes,
                 AuSampleConverter convert, int16_t* left, int16_t* right) {
  Split(data, frames, channels, sampleBytes, convert, left, right);
}

void SplitFrames(const uint8_t* data, int frames, int channels, size_t sampleBytes,
                 AuWideConverter convert, double* left, double* right) {
  Split(data, frames, channels, sampleBytes, convert, left, right);
}

}  // namespace quillo
