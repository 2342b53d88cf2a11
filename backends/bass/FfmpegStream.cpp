#include "backends/bass/FfmpegStream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "backends/bass/FormatSniff.h"
#include "backends/ffmpeg/ChannelFold.h"
#include "backends/ffmpeg/FfmpegDecoder.h"
#include "backends/ffmpeg/FfmpegInput.h"
#include "backends/ffmpeg/SampleConverter.h"
#include "backends/ffmpeg/WideFormat.h"
#include "base/FileHandle.h"
#include "base/RegularFile.h"
#include "engine/media/MediaSource.h"

namespace quillo::audio {

namespace {

using Container = FfmpegStream::Container;

const char* DemuxerName(Container container) {
  switch (container) {
    case Container::Mp4:
      return "mov";
    case Container::Adts:
      return "aac";
    case Container::Adx:
      return "adx";
    case Container::OggFlac:
      return "ogg";
    case Container::Flac:
      return "flac";
  }
  return "";
}

bool CodecAllowed(Container container, AVCodecID codec, bool allowAac, bool allowAlac) {
  switch (container) {
    case Container::Mp4:
      return (codec == AV_CODEC_ID_AAC && allowAac) || (codec == AV_CODEC_ID_ALAC && allowAlac);
    case Container::Adts:
      return codec == AV_CODEC_ID_AAC;
    case Container::Adx:
      return codec == AV_CODEC_ID_ADPCM_ADX;
    case Container::OggFlac:
    case Container::Flac:
      return codec == AV_CODEC_ID_FLAC;
  }
  return false;
}

// Samples per channel of the stream: ADTS counts its frame headers, ADX
// states the count in its header, the other containers give a duration.
uint64_t SampleCount(const std::string& path, Container container, const AVFormatContext& input,
                     const AVStream& stream, int rate) {
  if (container == Container::Adts) return CountAdtsSamples(path);
  if (container == Container::Adx) {
    // Big-endian at offset 12.
    const std::vector<uint8_t> head = ReadFileHead(path, 0, 16);
    if (head.size() < 16) return 0;
    return (uint64_t{head[12]} << 24) | (uint64_t{head[13]} << 16) | (uint64_t{head[14]} << 8) |
           head[15];
  }
  if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
    return static_cast<uint64_t>(av_rescale_q(stream.duration, stream.time_base, {1, rate}));
  if (input.duration != AV_NOPTS_VALUE && input.duration > 0)
    return static_cast<uint64_t>(av_rescale_q(input.duration, {1, AV_TIME_BASE}, {1, rate}));
  return 0;
}

class DecoderStream final : public AudioStream {
 public:
  bool Open(const std::string& path, Container container, bool allowAac, bool allowAlac);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  // Converts `frame` into the pending samples; false for a frame in another
  // rate or channel count than the stream's, which is damaged or from a
  // stream that cannot be followed.
  bool ConvertFrame(const AVFrame& frame);
  // Converts `frame` through `convert` into `pending`, `channels` samples a
  // frame, by way of `converted` when the converter keeps fewer.
  template <typename Sample, typename Convert>
  void ConvertInto(const AVFrame& frame, std::vector<Sample>& pending,
                   std::vector<Sample>& converted, Convert convert);
  // The pending samples as bytes, and their size.
  const uint8_t* PendingBytes() const;
  size_t PendingSize() const;

  FfmpegDecoder decoder_;
  SampleConverter converter_;
  std::vector<int16_t> converted_;  // frames of more than eight channels
  std::vector<int16_t> pending_;
  std::vector<double> convertedWide_;  // the same two for a wide stream
  std::vector<double> pendingWide_;
  size_t pendingOffset_ = 0;  // in bytes
};

bool DecoderStream::Open(const std::string& path, Container container, bool allowAac,
                         bool allowAlac) {
  InputContextPtr input = OpenInputFile(path, DemuxerName(container));
  if (!input) return false;
  const int index = FindAudioStream(*input, true);
  if (index < 0 ||
      !CodecAllowed(container, input->streams[index]->codecpar->codec_id, allowAac, allowAlac) ||
      !decoder_.Open(std::move(input), index))
    return false;

  const AVStream& stream = decoder_.Stream();
  const int rate = stream.codecpar->sample_rate;
  const int channels = stream.codecpar->ch_layout.nb_channels;
  if (!IsSaneSampleRate(rate) || channels < 1 || channels > 64) return false;
  const AVCodecContext& codec = decoder_.Codec();
  info_ = {rate, channels, false, WideFormatOf(codec, codec.sample_fmt)};
  speakers_ = SpeakersOf(codec.ch_layout);
  const auto frameBytes = static_cast<uint64_t>(BytesPerFrame());
  length_ = SampleCount(path, container, decoder_.Input(), stream, rate) * frameBytes;
  // ADTS and ADX count what the file holds; the others state a length.
  if (container != Container::Adts && container != Container::Adx) {
    const double announced = decoder_.AnnouncedSeconds();
    announced_ = static_cast<uint64_t>(announced * rate) * frameBytes;
  }
  fileSize_ = FileSizeOf(path);
  return true;
}

bool DecoderStream::ConvertFrame(const AVFrame& frame) {
  const int channels = info_.chans;
  if (frame.ch_layout.nb_channels != channels || frame.sample_rate != info_.freq) return false;
  const auto format = static_cast<AVSampleFormat>(frame.format);
  if (converter_.Format() != format && !converter_.Configure(format, channels)) return false;
  pendingOffset_ = 0;
  if (info_.format.IsWide()) {
    ConvertInto(frame, pendingWide_, convertedWide_, [this](const AVFrame& f, double* out) {
      converter_.ConvertWide(f.extended_data, 0, f.nb_samples, out);
    });
  } else {
    ConvertInto(frame, pending_, converted_, [this](const AVFrame& f, int16_t* out) {
      converter_.Convert(f.extended_data, 0, f.nb_samples, out);
    });
  }
  return true;
}

template <typename Sample, typename Convert>
void DecoderStream::ConvertInto(const AVFrame& frame, std::vector<Sample>& pending,
                                std::vector<Sample>& converted, Convert convert) {
  const auto channels = static_cast<size_t>(info_.chans);
  const auto frames = static_cast<size_t>(frame.nb_samples);
  const auto width = static_cast<size_t>(converter_.OutChannels());
  pending.resize(frames * channels);
  if (width == channels) {
    convert(frame, pending.data());
    return;
  }
  // The converter keeps the first eight channels, all that the fold reads;
  // the ones past them are delivered silent.
  converted.resize(frames * width);
  convert(frame, converted.data());
  std::fill(pending.begin(), pending.end(), Sample{0});
  for (size_t i = 0; i < frames; ++i)
    std::copy_n(&converted[i * width], width, &pending[i * channels]);
}

const uint8_t* DecoderStream::PendingBytes() const {
  if (info_.format.IsWide()) return reinterpret_cast<const uint8_t*>(pendingWide_.data());
  return reinterpret_cast<const uint8_t*>(pending_.data());
}

size_t DecoderStream::PendingSize() const {
  if (info_.format.IsWide()) return pendingWide_.size() * sizeof(double);
  return pending_.size() * sizeof(int16_t);
}

size_t DecoderStream::Decode(uint8_t* buffer, size_t bytes) {
  const auto convert = [this](const AVFrame& frame) { return ConvertFrame(frame); };
  // Whole samples only; the caller asks for whole frames.
  const auto sampleBytes = static_cast<size_t>(info_.BytesPerSample());
  size_t filled = 0;
  while (filled + sampleBytes <= bytes) {
    if (pendingOffset_ >= PendingSize() && !decoder_.NextFrame(convert)) {
      stoppedOnError_ = decoder_.StoppedOnError();
      break;
    }
    const size_t want = (bytes - filled) / sampleBytes * sampleBytes;
    const size_t take = std::min(want, PendingSize() - pendingOffset_);
    std::memcpy(buffer + filled, PendingBytes() + pendingOffset_, take);
    pendingOffset_ += take;
    filled += take;
  }
  return filled;
}

}  // namespace

std::unique_ptr<AudioStream> FfmpegStream::Open(const std::string& path, Container container,
                                                bool allowAac, bool allowAlac) {
  auto stream = std::make_unique<DecoderStream>();
  if (!stream->Open(path, container, allowAac, allowAlac)) return nullptr;
  return stream;
}

uint64_t CountAdtsSamples(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return 0;
  const FileHandle file = OpenFile(path, "rb");
  if (!file) return 0;
  uint8_t head[10];
  uint64_t offset = 0;
  if (std::fread(head, 1, 10, file.get()) == 10) offset = Id3v2TagSize(head);
  uint64_t samples = 0;
  for (;;) {
    uint8_t h[7];
    if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) break;
    if (std::fread(h, 1, 7, file.get()) != 7) break;
    if (h[0] != 0xFF || (h[1] & 0xF6) != 0xF0) break;
    const uint64_t length = ((h[3] & 0x03u) << 11) | (h[4] << 3) | (h[5] >> 5);
    if (length < 7) break;
    samples += 1024u * ((h[6] & 0x03u) + 1);
    offset += length;
  }
  return samples;
}

}  // namespace quillo::audio
