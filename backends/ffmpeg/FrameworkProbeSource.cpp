#include "backends/ffmpeg/FrameworkProbeSource.h"

#include "backends/ffmpeg/FfmpegInput.h"

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

  const AudioProperties properties = ReadAudioProperties(*input_, streamIndex_);
  duration_ = properties.durationSeconds;
  sampleRate_ = properties.sampleRate;
  bitRate_ = properties.bitRateKbps;
  sourceChannels_ = properties.sourceChannels;
  channels_ = properties.channels;
  bitsPerSample_ = 16;
  bytesPerSample_ = 2;
  return true;
}

}  // namespace quillo
