#pragma once

#include "engine/media/SampleFormat.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace quillo {

// The resolution a source delivers for samples that `codec` decodes in
// `decoded`: wide (24 or 32 bits, or float) for lossless and PCM codecs whose
// samples hold more than 16 bits, 16-bit for everything else. Lossy codecs
// decode to float too, but keep the 16-bit delivery their results depend on.
SampleFormat WideFormatOf(const AVCodecContext& codec, AVSampleFormat decoded);

// The same from a stream's parameters alone, without a decoder (for the file
// list): the decoded format where the container's probing found it, else
// the raw or coded bits the stream announces.
SampleFormat WideFormatOf(const AVCodecParameters& stream);

}  // namespace quillo
