#include "backends/ffmpeg/FfmpegBackend.h"

#include "backends/ffmpeg/FrameworkProbeSource.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "backends/ffmpeg/OggVorbisSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeFrameworkSource(bool fullDecoding) {
  if (fullDecoding) return std::make_unique<FrameworkSource>();
  return std::make_unique<FrameworkProbeSource>();
}

std::unique_ptr<MediaSource> MakeOggVorbisSource() { return std::make_unique<OggVorbisSource>(); }

}  // namespace quillo
