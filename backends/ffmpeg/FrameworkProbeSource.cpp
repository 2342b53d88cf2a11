#include "backends/ffmpeg/FrameworkProbeSource.h"

namespace quillo {

void FrameworkProbeSource::Close() {
  input_.reset();
  streamIndex_ = -1;
  ResetState();
}

bool FrameworkProbeSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  input_ = OpenInputFile(path);
  if (!input_) return false;
  streamIndex_ = FindAudioStream(*input_, false);

  SetProperties(ReadAudioProperties(*input_, streamIndex_));
  return true;
}

}  // namespace quillo
