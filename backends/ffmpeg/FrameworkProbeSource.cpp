#include "backends/ffmpeg/FrameworkProbeSource.h"

#include "backends/ffmpeg/WideFormat.h"

namespace quillo {

void FrameworkProbeSource::Close() {
  input_.reset();
  streamIndex_ = -1;
  format_ = {};
  noAudioStream_ = false;
  ResetState();
}

bool FrameworkProbeSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  input_ = OpenInputFile(path);
  if (!input_) {
    noAudioStream_ = IsPictureFile(path);
    return false;
  }
  streamIndex_ = FindAudioStream(*input_, false);
  noAudioStream_ = streamIndex_ < 0;

  SetProperties(ReadAudioProperties(*input_, streamIndex_));
  if (streamIndex_ >= 0) format_ = WideFormatOf(*input_->streams[streamIndex_]->codecpar);
  return true;
}

}  // namespace quillo
