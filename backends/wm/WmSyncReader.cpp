#include "backends/wm/WmSyncReader.h"

#include <algorithm>

#include "backends/ffmpeg/FfmpegInput.h"

namespace quillo {

namespace {

constexpr AVRational kHundredNanoseconds{1, 10000000};

}  // namespace

bool WmSyncReader::Open(const std::string& path) {
  Close();
  InputContextPtr input = OpenInputFile(path, "asf");
  if (!input) return false;
  const int index = FindAudioStream(*input, true);
  if (index < 0) {
    noAudioStream_ = true;
    return false;
  }
  audioStream_ = index + 1;
  if (!decoder_.Open(std::move(input), index)) return false;
  const AVCodecContext& codec = decoder_.Codec();
  rate_ = codec.sample_rate;
  channels_ = codec.ch_layout.nb_channels;
  return rate_ > 0 && channels_ > 0;
}

void WmSyncReader::Close() {
  decoder_.Close();
  converter_ = SampleConverter();
  audioStream_ = 0;
  noAudioStream_ = false;
  rate_ = 0;
  channels_ = 0;
  nextTime_ = 0;
}

bool WmSyncReader::GetNextSample(std::vector<int16_t>& samples, int& frames, int64_t& time) {
  const auto accept = [this](const AVFrame& frame) {
    // A frame in another rate or channel count than the stream's is damaged
    // or from a stream that cannot be followed; it is passed over.
    if (frame.ch_layout.nb_channels != channels_ || frame.sample_rate != rate_) return false;
    const auto format = static_cast<AVSampleFormat>(frame.format);
    return converter_.Format() == format || converter_.Configure(format, channels_);
  };
  if (!decoder_.IsOpen() || !decoder_.NextFrame(accept)) return false;

  const AVFrame& frame = decoder_.Frame();
  frames = frame.nb_samples;
  samples.resize(static_cast<size_t>(frames) * static_cast<size_t>(converter_.OutChannels()));
  converter_.Convert(frame.extended_data, 0, frames, samples.data());

  time = nextTime_;
  if (frame.best_effort_timestamp != AV_NOPTS_VALUE)
    time = std::max<int64_t>(0, av_rescale_q(frame.best_effort_timestamp,
                                             decoder_.Stream().time_base, kHundredNanoseconds));
  nextTime_ = time + av_rescale_q(frames, AVRational{1, rate_}, kHundredNanoseconds);
  return true;
}

}  // namespace quillo
