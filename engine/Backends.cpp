// Maps each back-end to its implementation. This is the one place that knows
// every back-end library.
#include "backends/amr/AmrBackend.h"
#include "backends/bass/BassBackend.h"
#include "backends/ffmpeg/FfmpegBackend.h"
#include "backends/ffmpeg/FrameworkProbe.h"
#include "backends/ffmpeg/FrameworkSink.h"
#include "backends/files/FilesBackend.h"
#include "backends/wm/WmBackend.h"
#include "engine/OutputSelection.h"
#include "engine/SourceFactory.h"

namespace quillo {

std::unique_ptr<MediaSource> CreateSource(SourceBackend backend, bool fullDecoding) {
  switch (backend) {
    case SourceBackend::AudioLibrary:
      return MakeBassSource();
    case SourceBackend::OggVorbis:
      return MakeOggVorbisSource();
    case SourceBackend::Au:
      return MakeAuSource();
    case SourceBackend::Aiff:
      return MakeAiffSource();
    case SourceBackend::Amr:
      return MakeAmrSource();
    case SourceBackend::WindowsMedia:
      return MakeWmSource();
    case SourceBackend::Framework:
      break;
  }
  return MakeFrameworkSource(fullDecoding);
}

bool FrameworkDecodesAsPcm(const std::string& path) { return FrameworkSeesPcm(path); }

std::unique_ptr<MediaSink> CreateSink(FormatBackend backend) {
  switch (backend) {
    case FormatBackend::Framework:
      return MakeFrameworkSink();
    case FormatBackend::Amr:           // no AMR file writer in this build yet
    case FormatBackend::WindowsMedia:  // no Windows Media writer in this build yet
      break;
  }
  return nullptr;
}

}  // namespace quillo
