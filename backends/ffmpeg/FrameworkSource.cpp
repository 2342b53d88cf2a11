#include "backends/ffmpeg/FrameworkSource.h"

#include <algorithm>

#include "backends/ffmpeg/FfmpegTags.h"
#include "backends/ffmpeg/WideFormat.h"

namespace quillo {

FrameworkSource::FrameworkSource()
    : converted_(static_cast<size_t>(kMaxBlockFrames) * kMaxConvertedChannels) {}

void FrameworkSource::Close() {
  decoder_.Close();
  noAudioStream_ = false;
  converter_ = SampleConverter();
  fold_ = ChannelFold();
  cursor_ = 0;
  delivered_ = 0;
  wide_.clear();
  wide_.shrink_to_fit();
  format_ = {};
  ResetState();
}

bool FrameworkSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  InputContextPtr input = OpenInputFile(path);
  if (!input) {
    noAudioStream_ = IsPictureFile(path);
    return false;
  }
  const int streamIndex = FindAudioStream(*input, true);
  if (streamIndex < 0) {
    noAudioStream_ = true;
    return false;
  }
  AudioProperties properties = ReadAudioProperties(*input, streamIndex);
  if (!decoder_.Open(std::move(input), streamIndex)) return false;

  // Some containers leave rate or channels to the decoder; without them the
  // samples cannot be delivered correctly.
  const AVCodecContext& codec = decoder_.Codec();
  if (properties.sampleRate <= 0) properties.sampleRate = codec.sample_rate;
  if (properties.sourceChannels <= 0) {
    properties.sourceChannels = codec.ch_layout.nb_channels;
    properties.channels = properties.sourceChannels < 2 ? 1 : 2;
  }
  if (properties.sampleRate <= 0 || properties.sourceChannels <= 0) return false;
  AVIOContext* io = decoder_.Input().pb;
  const int64_t size = io != nullptr ? avio_size(io) : 0;
  progressTotal_ = size > 0 ? static_cast<uint64_t>(size) : 0;
  SetProperties(properties);

  // Some decoders learn their sample format only from the first packet:
  // that frame is decoded here, and handed out by the first read.
  const auto prepare = [this](const AVFrame& frame) { return PrepareFrame(frame); };
  if (decoder_.NextFrame(prepare)) {
    format_ = WideFormatOf(codec, static_cast<AVSampleFormat>(decoder_.Frame().format));
    if (format_.IsWide()) {
      wide_.resize(converted_.size());
      bitsPerSample_ = format_.bits;
      bytesPerSample_ = format_.bits / 8;
    }
  }
  return true;
}

int FrameworkSource::Read(int16_t* left, int16_t* right) {
  return ReadBlock(left, right, converted_, [this](const AVFrame& frame, int frames, int16_t* out) {
    converter_.Convert(frame.extended_data, cursor_, frames, out);
  });
}

int FrameworkSource::ReadWide(double* left, double* right) {
  if (!format_.IsWide()) return 0;
  return ReadBlock(left, right, wide_, [this](const AVFrame& frame, int frames, double* out) {
    converter_.ConvertWide(frame.extended_data, cursor_, frames, out);
  });
}

template <typename Sample, typename Convert>
int FrameworkSource::ReadBlock(Sample* left, Sample* right, std::vector<Sample>& converted,
                               Convert convert) {
  if (!decoder_.IsOpen() || left == nullptr) return 0;
  if (channels_ != 2) right = nullptr;

  const auto prepare = [this](const AVFrame& frame) { return PrepareFrame(frame); };
  int n = 0;
  while (n < kMaxBlockFrames) {
    if (cursor_ >= decoder_.Frame().nb_samples) {
      cursor_ = 0;
      if (!decoder_.NextFrame(prepare)) break;
    }
    const AVFrame& frame = decoder_.Frame();
    const int frames = std::min(frame.nb_samples - cursor_, kMaxBlockFrames - n);
    convert(frame, frames, converted.data());
    fold_.Apply(converted.data(), frames, left + n, right != nullptr ? right + n : nullptr);
    cursor_ += frames;
    n += frames;
  }
  delivered_ += static_cast<uint64_t>(n);

  AVIOContext* io = decoder_.Input().pb;
  if (io != nullptr) {
    const int64_t position = avio_tell(io);
    if (position > 0) progressPosition_ = static_cast<uint64_t>(position);
  }
  return n;
}

std::optional<EarlyEnd> FrameworkSource::EndedEarly() {
  return decoder_.EarlyEndAfter(delivered_, sampleRate_);
}

bool FrameworkSource::PrepareFrame(const AVFrame& frame) {
  const AVChannelLayout& layout = frame.ch_layout;
  const auto format = static_cast<AVSampleFormat>(frame.format);
  if (converter_.Format() != format || converter_.Channels() != layout.nb_channels) {
    if (!converter_.Configure(format, layout.nb_channels)) return false;
  }
  fold_.Configure(layout, channels_);
  return true;
}

bool FrameworkSource::ReadTags(TagInfo& tags) {
  if (!decoder_.IsOpen()) return false;
  return ReadFfmpegTags(decoder_.Input(), &decoder_.Stream(), tags);
}

}  // namespace quillo
