#pragma once

#include <cstdint>

extern "C" {
#include <libavutil/samplefmt.h>
}

#include "engine/media/Dither.h"
#include "engine/media/SampleHash.h"

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

// How wide samples become integers: rounded to `bits` significant bits (8 to
// 32), with TPDF dither from `dither` when it is given, plain rounding
// otherwise. The integer sits in the top bits of the format's sample.
struct WideRounding {
  int bits = 16;
  TpdfDither* dither = nullptr;
};

// As PutSamples, for wide samples (double, full scale 1.0). Float formats
// take the values as they are, without clamping; integer formats take them
// rounded as `rounding` says (unsigned 8-bit with the sign bit flipped, 64-bit
// with 32 significant bits).
void PutWideSamples(const double* left, const double* right, int frames, int channels,
                    AVSampleFormat format, WideRounding rounding, uint8_t* const* data, int offset);

// Adds `frames` frames of an encoder frame's buffers `data` in `format` to
// `hash`, each sample at full scale 1.0.
void HashSamples(const uint8_t* const* data, int frames, int channels, AVSampleFormat format,
                 SampleHash& hash);

}  // namespace quillo
