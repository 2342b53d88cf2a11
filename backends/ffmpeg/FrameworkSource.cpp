#include "backends/ffmpeg/FrameworkSource.h"

#include <algorithm>

#include "backends/ffmpeg/FfmpegInput.h"
#include "backends/ffmpeg/FfmpegTags.h"

namespace quillo {

namespace {

// Damaged packets are dropped and reading goes on, so a stretch of damage
// costs only that stretch. This many failures without a single decoded frame
// in between mean the file is not audio the decoder can read at all.
constexpr int kMaxFailuresInRow = 4096;

}  // namespace

FrameworkSource::FrameworkSource()
    : converted_(static_cast<size_t>(kMaxBlockFrames) * kMaxConvertedChannels) {}

FrameworkSource::~FrameworkSource() { Close(); }

void FrameworkSource::Close() {
  if (frame_) av_frame_unref(frame_.get());
  if (packet_) av_packet_unref(packet_.get());
  codec_.reset();
  input_.reset();
  streamIndex_ = -1;
  noAudioStream_ = false;
  converter_ = SampleConverter();
  fold_ = ChannelFold();
  cursor_ = 0;
  inputEnded_ = false;
  finished_ = false;
  failuresInRow_ = 0;
  ResetState();
}

bool FrameworkSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  if (!frame_) frame_.reset(av_frame_alloc());
  if (!packet_) packet_.reset(av_packet_alloc());
  if (!frame_ || !packet_) return false;

  input_ = OpenInputFile(path);
  if (!input_) return false;
  streamIndex_ = FindAudioStream(*input_, true);
  if (streamIndex_ < 0) {
    noAudioStream_ = true;
    return false;
  }

  // The demuxer skips every other stream's packets (video, subtitles).
  for (unsigned i = 0; i < input_->nb_streams; ++i)
    if (static_cast<int>(i) != streamIndex_) input_->streams[i]->discard = AVDISCARD_ALL;

  const AVStream* stream = input_->streams[streamIndex_];
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (decoder == nullptr) return false;
  codec_.reset(avcodec_alloc_context3(decoder));
  if (!codec_ || avcodec_parameters_to_context(codec_.get(), stream->codecpar) < 0) return false;
  codec_->pkt_timebase = stream->time_base;
  if (avcodec_open2(codec_.get(), decoder, nullptr) < 0) return false;

  AudioProperties properties = ReadAudioProperties(*input_, streamIndex_);
  // Some containers leave rate or channels to the decoder; without them the
  // samples cannot be delivered correctly.
  if (properties.sampleRate <= 0) properties.sampleRate = codec_->sample_rate;
  if (properties.sourceChannels <= 0) {
    properties.sourceChannels = codec_->ch_layout.nb_channels;
    properties.channels = properties.sourceChannels < 2 ? 1 : 2;
  }
  if (properties.sampleRate <= 0 || properties.sourceChannels <= 0) return false;
  const int64_t size = input_->pb != nullptr ? avio_size(input_->pb) : 0;
  progressTotal_ = size > 0 ? static_cast<uint64_t>(size) : 0;
  progressPosition_ = 0;
  duration_ = properties.durationSeconds;
  sampleRate_ = properties.sampleRate;
  bitRate_ = properties.bitRateKbps;
  sourceChannels_ = properties.sourceChannels;
  channels_ = properties.channels;
  bitsPerSample_ = 16;
  bytesPerSample_ = 2;
  return true;
}

int FrameworkSource::Read(int16_t* left, int16_t* right) {
  if (!codec_ || left == nullptr) return 0;
  if (channels_ != 2) right = nullptr;

  int n = 0;
  while (n < kMaxBlockFrames) {
    if (cursor_ >= frame_->nb_samples && !NextFrame()) break;
    const int frames = std::min(frame_->nb_samples - cursor_, kMaxBlockFrames - n);
    converter_.Convert(frame_->extended_data, cursor_, frames, converted_.data());
    fold_.Apply(converted_.data(), frames, left + n, right != nullptr ? right + n : nullptr);
    cursor_ += frames;
    n += frames;
  }

  if (input_->pb != nullptr) {
    const int64_t position = avio_tell(input_->pb);
    if (position > 0) progressPosition_ = static_cast<uint64_t>(position);
  }
  return n;
}

bool FrameworkSource::NextFrame() {
  av_frame_unref(frame_.get());
  cursor_ = 0;
  while (!finished_) {
    const int received = avcodec_receive_frame(codec_.get(), frame_.get());
    if (received == 0 && frame_->nb_samples > 0 && PrepareFrame()) {
      failuresInRow_ = 0;
      return true;
    }
    av_frame_unref(frame_.get());
    if (received == AVERROR(EAGAIN)) {
      if (!SendNextPacket()) finished_ = true;
      continue;
    }
    // A damaged packet, or a frame in a layout that cannot be delivered: the
    // decoder has dropped it; carry on with the next one.
    if (received == AVERROR_EOF || ++failuresInRow_ > kMaxFailuresInRow) finished_ = true;
  }
  av_frame_unref(frame_.get());
  return false;
}

bool FrameworkSource::SendNextPacket() {
  if (inputEnded_) return false;
  while (failuresInRow_ <= kMaxFailuresInRow) {
    av_packet_unref(packet_.get());
    const int read = av_read_frame(input_.get(), packet_.get());
    if (read < 0) {
      // Some demuxers fail on a damaged stretch before they find the next
      // page or frame; reading on finds it. Only the end of the file or a
      // failing device ends the stream.
      if (read == AVERROR_EOF || InputAtEnd()) break;
      ++failuresInRow_;
      continue;
    }
    if (packet_->stream_index != streamIndex_) continue;
    const int sent = avcodec_send_packet(codec_.get(), packet_.get());
    av_packet_unref(packet_.get());
    if (sent == 0 || sent == AVERROR(EAGAIN)) return true;
    // A packet the decoder refuses is dropped; the next one may decode.
    ++failuresInRow_;
  }
  // Let the decoder give out what it still holds.
  av_packet_unref(packet_.get());
  inputEnded_ = true;
  return avcodec_send_packet(codec_.get(), nullptr) == 0;
}

bool FrameworkSource::InputAtEnd() const {
  AVIOContext* io = input_->pb;
  return io == nullptr || avio_feof(io) != 0 || io->error < 0;
}

bool FrameworkSource::PrepareFrame() {
  const AVChannelLayout& layout = frame_->ch_layout;
  const auto format = static_cast<AVSampleFormat>(frame_->format);
  if (converter_.Format() != format || converter_.Channels() != layout.nb_channels) {
    if (!converter_.Configure(format, layout.nb_channels)) return false;
  }
  fold_.Configure(layout, channels_);
  return true;
}

bool FrameworkSource::ReadTags(TagInfo& tags) {
  if (!input_) return false;
  const AVStream* stream = streamIndex_ >= 0 ? input_->streams[streamIndex_] : nullptr;
  return ReadFfmpegTags(*input_, stream, tags);
}

}  // namespace quillo
