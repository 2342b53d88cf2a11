#include "backends/ffmpeg/FfmpegDecoder.h"

#include <utility>

namespace quillo {

namespace {

// Damaged packets are dropped and reading goes on, so a stretch of damage
// costs only that stretch. This many failures without a single decoded frame
// in between mean the file is not audio the decoder can read at all.
constexpr int kMaxFailuresInRow = 4096;

}  // namespace

bool FfmpegDecoder::Open(InputContextPtr input, int streamIndex) {
  Close();
  if (!input || streamIndex < 0 || static_cast<unsigned>(streamIndex) >= input->nb_streams)
    return false;
  frame_.reset(av_frame_alloc());
  packet_.reset(av_packet_alloc());
  if (!frame_ || !packet_) return false;

  // The demuxer skips every other stream's packets (video, subtitles).
  for (unsigned i = 0; i < input->nb_streams; ++i)
    if (static_cast<int>(i) != streamIndex) input->streams[i]->discard = AVDISCARD_ALL;

  const AVStream* stream = input->streams[streamIndex];
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (decoder == nullptr) return false;
  CodecContextPtr codec(avcodec_alloc_context3(decoder));
  if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0) return false;
  codec->pkt_timebase = stream->time_base;
  if (avcodec_open2(codec.get(), decoder, nullptr) < 0) return false;

  input_ = std::move(input);
  codec_ = std::move(codec);
  streamIndex_ = streamIndex;
  return true;
}

void FfmpegDecoder::Close() {
  frame_.reset();
  packet_.reset();
  codec_.reset();
  input_.reset();
  streamIndex_ = -1;
  inputEnded_ = false;
  finished_ = false;
  failuresInRow_ = 0;
  stoppedOnError_ = false;
}

bool FfmpegDecoder::NextFrame(const std::function<bool(const AVFrame&)>& accept) {
  if (!codec_) return false;
  av_frame_unref(frame_.get());
  while (!finished_) {
    const int received = avcodec_receive_frame(codec_.get(), frame_.get());
    if (received == 0 && frame_->nb_samples > 0 && accept(*frame_)) {
      failuresInRow_ = 0;
      return true;
    }
    av_frame_unref(frame_.get());
    if (received == AVERROR(EAGAIN)) {
      if (!SendNextPacket()) finished_ = true;
      continue;
    }
    // A damaged packet, or a frame the caller cannot take: it is dropped and
    // decoding carries on with the next one.
    if (received == AVERROR_EOF) finished_ = true;
    if (received != AVERROR_EOF && ++failuresInRow_ > kMaxFailuresInRow) {
      finished_ = true;
      stoppedOnError_ = true;
    }
  }
  return false;
}

bool FfmpegDecoder::SendNextPacket() {
  if (inputEnded_) return false;
  while (failuresInRow_ <= kMaxFailuresInRow) {
    av_packet_unref(packet_.get());
    const int read = av_read_frame(input_.get(), packet_.get());
    if (read < 0) {
      // Some demuxers fail on a damaged stretch before they find the next
      // page or frame; reading on finds it. Only the end of the file or a
      // failing device ends the stream.
      if (read == AVERROR_EOF || InputAtEnd()) {
        stoppedOnError_ = stoppedOnError_ || (input_->pb != nullptr && input_->pb->error < 0 &&
                                              input_->pb->error != AVERROR_EOF);
        break;
      }
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
  if (failuresInRow_ > kMaxFailuresInRow) stoppedOnError_ = true;
  // Let the decoder give out what it still holds.
  av_packet_unref(packet_.get());
  inputEnded_ = true;
  return avcodec_send_packet(codec_.get(), nullptr) == 0;
}

double FfmpegDecoder::AnnouncedSeconds() const {
  if (!input_ || input_->duration_estimation_method != AVFMT_DURATION_FROM_STREAM) return 0.0;
  for (unsigned i = 0; i < input_->nb_streams; ++i) {
    const AVStream* other = input_->streams[i];
    if (other->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
        (other->disposition & AV_DISPOSITION_ATTACHED_PIC) == 0)
      return 0.0;
  }
  const AVStream& stream = Stream();
  if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
    return static_cast<double>(stream.duration) * av_q2d(stream.time_base);
  // Some containers (Matroska) state the length of the whole file only,
  // which in a file of sound alone is the sound's.
  if (input_->duration != AV_NOPTS_VALUE && input_->duration > 0)
    return static_cast<double>(input_->duration) / AV_TIME_BASE;
  return 0.0;
}

std::optional<EarlyEnd> FfmpegDecoder::EarlyEndAfter(uint64_t frames, int rate) const {
  if (!IsOpen() || rate <= 0) return std::nullopt;
  const EarlyEnd early{static_cast<double>(frames) / rate, AnnouncedSeconds()};
  if (stoppedOnError_ || FallsShort(early.decodedSeconds, early.announcedSeconds)) return early;
  return std::nullopt;
}

bool FfmpegDecoder::InputAtEnd() const {
  AVIOContext* io = input_->pb;
  return io == nullptr || avio_feof(io) != 0 || io->error < 0;
}

}  // namespace quillo
