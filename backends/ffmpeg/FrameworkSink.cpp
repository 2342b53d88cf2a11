#include "backends/ffmpeg/FrameworkSink.h"

#include <filesystem>

namespace quillo {

FrameworkSink::~FrameworkSink() { Release(); }

void FrameworkSink::SetTags(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& genre,
                            const std::string& year, const std::string& comment,
                            const std::string& composer, const std::string& copyright, int track) {
  tags_ = SinkTags{title,    artist,    album,
                   genre,    year,      comment,
                   composer, copyright, track > 0 ? std::to_string(track) : std::string()};
}

void FrameworkSink::SetCodecOptions(const SinkOptions& options) {
  containerName_ = options.containerName;
  codecId_ = options.codecId;
}

bool FrameworkSink::Open() {
  Release();
  const AVOutputFormat* format =
      containerName_.empty() ? nullptr : av_guess_format(containerName_.c_str(), nullptr, nullptr);
  if (format == nullptr || path_.empty()) return false;

  AVFormatContext* context = nullptr;
  if (avformat_alloc_output_context2(&context, format, nullptr, path_.c_str()) < 0) return false;
  output_.reset(context);
  stream_ = avformat_new_stream(context, nullptr);
  if (stream_ == nullptr) return Fail(false);
  stream_->id = 0;

  EncoderSettings settings;
  settings.storedCodecId = codecId_;
  settings.sampleRate = sampleRate_;
  settings.channels = channels_;
  settings.bitRate = bitRate_;
  settings.globalHeader = (format->flags & AVFMT_GLOBALHEADER) != 0;
  encoder_ = OpenFrameworkSinkEncoder(settings, stream_->codecpar,
                                      [this](AVPacket* packet) { return WritePacket(packet); });
  if (!encoder_) return Fail(false);
  codecTimeBase_ = AVRational{1, sampleRate_};
  stream_->time_base = codecTimeBase_;

  PutTags(tags_, &context->metadata);

  const bool writesFile = (format->flags & AVFMT_NOFILE) == 0;
  if (writesFile && avio_open(&context->pb, path_.c_str(), AVIO_FLAG_WRITE) < 0) return Fail(false);
  // A container that refuses the stream cannot take its packets either, so
  // a failed header fails Open rather than leaving a broken file behind.
  if (avformat_write_header(context, nullptr) < 0) return Fail(writesFile);
  return true;
}

bool FrameworkSink::Fail(bool removeFile) {
  Release();
  if (removeFile) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  return false;
}

bool FrameworkSink::Write(const int16_t* left, const int16_t* right, int frames) {
  if (!encoder_ || left == nullptr || frames <= 0) return encoder_ != nullptr;
  return encoder_->Write(left, channels_ == 2 ? right : nullptr, frames);
}

bool FrameworkSink::WritePacket(AVPacket* packet) {
  packet->stream_index = stream_->index;
  av_packet_rescale_ts(packet, codecTimeBase_, stream_->time_base);
  return av_interleaved_write_frame(output_.get(), packet) >= 0;
}

bool FrameworkSink::Close() {
  bool ok = false;
  if (encoder_) {
    encoder_->Finish();
    ok = av_write_trailer(output_.get()) >= 0;
  }
  Release();
  return ok;
}

void FrameworkSink::Release() {
  encoder_.reset();
  stream_ = nullptr;
  output_.reset();
}

std::unique_ptr<MediaSink> MakeFrameworkSink() { return std::make_unique<FrameworkSink>(); }

}  // namespace quillo
