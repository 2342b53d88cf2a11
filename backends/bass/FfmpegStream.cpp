#include "backends/bass/FfmpegStream.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstdio>
#include <cstring>

#include "backends/bass/ChannelOrder.h"
#include "backends/bass/FileSize.h"
#include "backends/bass/FormatSniff.h"
#include "backends/bass/SampleConvert.h"
#include "engine/MediaSource.h"
#include "engine/RegularFile.h"

namespace quillo::audio {

namespace {

// Damaged packets in a row tolerated before a stream counts as ended; a frame
// that decodes starts the count again.
constexpr int kMaxDecodeErrors = 100;

const char* DemuxerName(FfmpegStream::Container container) {
  switch (container) {
    case FfmpegStream::Container::Mp4:
      return "mov";
    case FfmpegStream::Container::Adts:
      return "aac";
    case FfmpegStream::Container::Adx:
      return "adx";
    case FfmpegStream::Container::OggFlac:
      return "ogg";
    case FfmpegStream::Container::Flac:
      return "flac";
  }
  return "";
}

int16_t SampleAt(const AVFrame* frame, AVSampleFormat format, int channel, int index,
                 int channels) {
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  const uint8_t* plane = frame->extended_data[planar ? channel : 0];
  const int at = planar ? index : index * channels + channel;
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
      return static_cast<int16_t>((plane[at] - 128) * 256);
    case AV_SAMPLE_FMT_S16: {
      int16_t v;
      std::memcpy(&v, plane + 2 * at, 2);
      return v;
    }
    case AV_SAMPLE_FMT_S32: {
      int32_t v;
      std::memcpy(&v, plane + 4 * at, 4);
      return static_cast<int16_t>(v >> 16);
    }
    case AV_SAMPLE_FMT_FLT: {
      float v;
      std::memcpy(&v, plane + 4 * at, 4);
      return FloatToS16(v);
    }
    case AV_SAMPLE_FMT_DBL: {
      double v;
      std::memcpy(&v, plane + 8 * at, 8);
      return FloatToS16(static_cast<float>(v));
    }
    default:
      return 0;
  }
}

// Where the fold finds each speaker of the decoder's layout; empty when the
// layout is in WAV order or unknown.
std::vector<int> FoldOrder(const AVChannelLayout& layout) {
  if (layout.nb_channels < 3 || layout.nb_channels > 8) return {};
  std::vector<int> speakers;
  for (int i = 0; i < layout.nb_channels; ++i) {
    const int channel = av_channel_layout_channel_from_index(&layout, static_cast<unsigned>(i));
    // AVChannel numbers the speakers as a WAV channel mask does.
    speakers.push_back(channel >= 0 && channel < 64 ? channel : kUnknownSpeaker);
  }
  return WaveOrderOf(speakers);
}

}  // namespace

uint64_t CountAdtsSamples(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return 0;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
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

std::unique_ptr<AudioStream> FfmpegStream::Open(const std::string& path, Container container,
                                                bool allowAac, bool allowAlac) {
  if (!RegularFileProblem(path).empty()) return nullptr;
  std::unique_ptr<FfmpegStream> stream(new FfmpegStream);
  const AVInputFormat* input = av_find_input_format(DemuxerName(container));
  if (input == nullptr) return nullptr;
  // A local file, whatever its name: "01:30.m4a" names no protocol.
  const std::string url = "file:" + path;
  if (avformat_open_input(&stream->format_, url.c_str(), input, nullptr) < 0) return nullptr;
  if (avformat_find_stream_info(stream->format_, nullptr) < 0) return nullptr;
  const int index = av_find_best_stream(stream->format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (index < 0) return nullptr;
  stream->streamIndex_ = index;
  const AVStream* st = stream->format_->streams[index];
  const AVCodecParameters* par = st->codecpar;

  bool allowed = false;
  switch (container) {
    case Container::Mp4:
      allowed = (par->codec_id == AV_CODEC_ID_AAC && allowAac) ||
                (par->codec_id == AV_CODEC_ID_ALAC && allowAlac);
      break;
    case Container::Adts:
      allowed = par->codec_id == AV_CODEC_ID_AAC;
      break;
    case Container::Adx:
      allowed = par->codec_id == AV_CODEC_ID_ADPCM_ADX;
      break;
    case Container::OggFlac:
    case Container::Flac:
      allowed = par->codec_id == AV_CODEC_ID_FLAC;
      break;
  }
  if (!allowed) return nullptr;

  const AVCodec* decoder = avcodec_find_decoder(par->codec_id);
  if (decoder == nullptr) return nullptr;
  stream->codec_ = avcodec_alloc_context3(decoder);
  if (stream->codec_ == nullptr) return nullptr;
  if (avcodec_parameters_to_context(stream->codec_, par) < 0) return nullptr;
  stream->codec_->thread_count = 1;
  stream->codec_->pkt_timebase = st->time_base;
  if (avcodec_open2(stream->codec_, decoder, nullptr) < 0) return nullptr;
  stream->packet_ = av_packet_alloc();
  stream->frame_ = av_frame_alloc();
  if (stream->packet_ == nullptr || stream->frame_ == nullptr) return nullptr;

  const int rate = par->sample_rate;
  const int channels = par->ch_layout.nb_channels;
  if (!IsSaneSampleRate(rate) || channels < 1 || channels > 64) return nullptr;

  uint64_t samples = 0;
  if (container == Container::Adts) {
    samples = CountAdtsSamples(path);
  } else if (container == Container::Adx) {
    // The header holds the sample count per channel (big-endian at 12).
    const std::vector<uint8_t> head = ReadFileHead(path, 0, 16);
    if (head.size() == 16)
      samples = (uint64_t{head[12]} << 24) | (uint64_t{head[13]} << 16) |
                (uint64_t{head[14]} << 8) | head[15];
  } else if (st->duration != AV_NOPTS_VALUE && st->duration > 0) {
    samples = static_cast<uint64_t>(av_rescale_q(st->duration, st->time_base, AVRational{1, rate}));
  } else if (stream->format_->duration != AV_NOPTS_VALUE && stream->format_->duration > 0) {
    samples = static_cast<uint64_t>(
        av_rescale_q(stream->format_->duration, AVRational{1, AV_TIME_BASE}, AVRational{1, rate}));
  }
  stream->info_ = {rate, channels, false};
  stream->waveOrder_ = FoldOrder(stream->codec_->ch_layout);
  stream->length_ = samples * static_cast<uint64_t>(channels) * 2;
  stream->fileSize_ = FileSizeOf(path);
  return stream;
}

FfmpegStream::~FfmpegStream() {
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  avformat_close_input(&format_);
}

bool FfmpegStream::ConvertFrame() {
  const int channels = info_.chans;
  if (frame_->ch_layout.nb_channels != channels || frame_->sample_rate != info_.freq) return false;
  const auto format = static_cast<AVSampleFormat>(frame_->format);
  const int frames = frame_->nb_samples;
  pending_.resize(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  pendingOffset_ = 0;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      pending_[static_cast<size_t>(i * channels + c)] = SampleAt(frame_, format, c, i, channels);
  return true;
}

bool FfmpegStream::DecodeNextFrame() {
  while (!ended_) {
    const int received = avcodec_receive_frame(codec_, frame_);
    if (received == 0) {
      const bool converted = ConvertFrame();
      av_frame_unref(frame_);
      if (converted) {
        errors_ = 0;
        return true;
      }
      // A frame in another format is damaged or from a stream we cannot
      // follow: it is passed over like a packet that does not decode.
      if (++errors_ > kMaxDecodeErrors) ended_ = true;
      continue;
    }
    if (received == AVERROR_EOF) {
      ended_ = true;
      return false;
    }
    if (received != AVERROR(EAGAIN) && ++errors_ > kMaxDecodeErrors) {
      ended_ = true;
      return false;
    }
    if (flushed_) {
      ended_ = true;
      return false;
    }
    const int read = av_read_frame(format_, packet_);
    if (read < 0) {
      // A damaged stretch of the file may still be followed by good packets.
      const bool atEnd = read == AVERROR_EOF || format_->pb == nullptr ||
                         avio_feof(format_->pb) != 0 || ++errors_ > kMaxDecodeErrors;
      if (atEnd) {
        avcodec_send_packet(codec_, nullptr);
        flushed_ = true;
      }
      continue;
    }
    if (packet_->stream_index == streamIndex_ && avcodec_send_packet(codec_, packet_) < 0 &&
        ++errors_ > kMaxDecodeErrors)
      ended_ = true;
    av_packet_unref(packet_);
  }
  return false;
}

size_t FfmpegStream::Decode(uint8_t* buffer, size_t bytes) {
  size_t filled = 0;
  while (filled < bytes) {
    if (pendingOffset_ >= pending_.size() && !DecodeNextFrame()) break;
    const size_t want = (bytes - filled) / 2;
    const size_t have = pending_.size() - pendingOffset_;
    const size_t take = want < have ? want : have;
    std::memcpy(buffer + filled, pending_.data() + pendingOffset_, take * 2);
    pendingOffset_ += take;
    filled += take * 2;
  }
  return filled;
}

}  // namespace quillo::audio
