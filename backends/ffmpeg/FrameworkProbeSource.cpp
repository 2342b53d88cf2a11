#include "backends/ffmpeg/FrameworkProbeSource.h"

namespace quillo {

void FrameworkProbeSource::Close() {
  input_.reset();
  streamIndex_ = -1;
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
  return true;
}

}  // namespace quillo
