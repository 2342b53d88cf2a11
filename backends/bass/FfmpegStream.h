#pragma once

#include <memory>
#include <string>

#include "backends/bass/AudioStream.h"

namespace quillo::audio {

// AAC (raw ADTS, or in MP4/M4A/M4B), ALAC in MP4, ADX and FLAC (native or in
// Ogg) through the framework back-end's decoder, delivered as 16-bit PCM, or
// wide when FLAC or ALAC holds more than 16 bits.
// Damaged packets are passed over and decoding goes on after them.
class FfmpegStream {
 public:
  enum class Container { Mp4, Adts, Adx, OggFlac, Flac };
  // Opens `path` as `container`; an MP4 opens only when its audio codec is
  // one of those allowed (AAC with `allowAac`, ALAC with `allowAlac`).
  static std::unique_ptr<AudioStream> Open(const std::string& path, Container container,
                                           bool allowAac, bool allowAlac);
};

// The number of samples per channel of the raw ADTS stream in the file, found
// from its frame headers (after an ID3v2 tag); 0 when there is none.
uint64_t CountAdtsSamples(const std::string& path);

}  // namespace quillo::audio
