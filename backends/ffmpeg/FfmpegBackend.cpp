#include "backends/ffmpeg/FfmpegBackend.h"

#include "engine/UnavailableSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeFrameworkSource(bool /*fullDecoding*/) { return std::make_unique<UnavailableSource>(); }

std::unique_ptr<MediaSource> MakeOggVorbisSource() { return std::make_unique<UnavailableSource>(); }

}  // namespace quillo
