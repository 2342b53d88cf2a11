#pragma once

#include <cstdint>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace quillo {

// Whether PutSamples can fill buffers of this sample format.
bool CanPutSamples(AVSampleFormat format);

// Converts `frames` frames of planar 16-bit PCM into the sample buffers `data`
// of an encoder frame in `format`, starting at frame `offset`. With one
// channel only `left` is read. The conversions keep every 16-bit value exact:
// wider integers take the sample in their top bits, floats scale by 1/32768,
// unsigned 8-bit keeps the top byte with its sign bit flipped.
void PutSamples(const int16_t* left, const int16_t* right, int frames, int channels,
                AVSampleFormat format, uint8_t* const* data, int offset);

}  // namespace quillo
