#pragma once

#include <cstddef>
#include <cstdint>

#include "backends/files/AuSamples.h"

namespace quillo {

// Hands `frames` frames of stored samples (`channels` samples of
// `sampleBytes` each, one after the other) to a source's buffers: one channel
// goes to `left`, two are split between `left` and `right`, and three or
// more are folded to stereo from the first eight samples of each frame, the
// rest of the frame passed over. `right` may be null; it is then left alone.
void SplitFrames(const uint8_t* data, int frames, int channels, size_t sampleBytes,
                 AuSampleConverter convert, int16_t* left, int16_t* right);
// The same for samples of more than 16 bits, as doubles.
void SplitFrames(const uint8_t* data, int frames, int channels, size_t sampleBytes,
                 AuWideConverter convert, double* left, double* right);

}  // namespace quillo
