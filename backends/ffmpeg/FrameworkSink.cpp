#include "backends/ffmpeg/FrameworkSink.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "backends/ffmpeg/AmrNbStreamEncoder.h"
#include "backends/ffmpeg/FfmpegError.h"
#include "backends/ffmpeg/FfmpegPtr.h"
#include "backends/ffmpeg/FrameworkSinkCodec.h"
#include "catalog/CodecIds.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace quillo {

namespace {

// Muxer options. A plain RIFF WAV cannot state sizes of 4 GiB or more, and
// readers misjudge the length of one that tries: the WAV muxer reserves room
// for an RF64 header and switches to it at the trailer only when the file
// has grown that large, so smaller files stay plain RIFF WAVE.
//
// The MP4 family states the edit list, which cuts the encoder's priming and
// padding, in the movie's time scale; the default of 1/1000 s rounds the end
// up to a whole millisecond of padding. In the audio's own rate it is exact
// to the sample.
DictionaryPtr MuxerOptions(const AVOutputFormat& format, int sampleRate) {
  AVDictionary* options = nullptr;
  if (std::strcmp(format.name, "wav") == 0) av_dict_set(&options, "rf64", "auto", 0);
  const AVClass* muxerClass = format.priv_class;
  if (muxerClass != nullptr &&
      av_opt_find(&muxerClass, "movie_timescale", nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr)
    av_dict_set_int(&options, "movie_timescale", sampleRate, 0);
  return DictionaryPtr(options);
}

// Set in tests only: flips bytes of one packet on its way from the encoder to
// the file, so that the check of finished outputs can be seen to work.
bool CorruptsOutputForTests() {
  const char* value = std::getenv("QUILLO_TEST_CORRUPT_OUTPUT");
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

// APEv2 tags (WavPack) keep the year as "Year", where taggers and players
// look for it, not under the framework's "date".
void AdaptTagKeys(const AVOutputFormat& format, AVDictionary** metadata) {
  if (std::strcmp(format.name, "wv") != 0) return;
  const AVDictionaryEntry* date = av_dict_get(*metadata, "date", nullptr, 0);
  if (date == nullptr) return;
  const std::string year = date->value;
  av_dict_set(metadata, "date", nullptr, 0);
  av_dict_set(metadata, "Year", year.c_str(), 0);
}

// Opens the encoder for the stored codec id and describes its stream in
// `parameters`; null, with the reason in `error`, when there is no encoder
// for the id or it refuses the settings.
std::unique_ptr<FrameworkSinkEncoder> OpenEncoder(const EncoderSettings& settings,
                                                  AVCodecParameters* parameters,
                                                  PacketWriter writer, std::string& error) {
  if (settings.storedCodecId == codec_id::kAmrNb)
    return AmrNbStreamEncoder::Open(settings, parameters, std::move(writer), error);
  return FrameworkSinkCodec::Open(settings, parameters, std::move(writer), error);
}

}  // namespace

void FrameworkSink::SetTags(const TagInfo& tags) { tags_ = tags; }

void FrameworkSink::SetCodecOptions(const SinkOptions& options) {
  containerName_ = options.containerName;
  codecId_ = options.codecId;
  variableBitRate_ = options.variableBitRate;
  compressionLevel_ = options.compressionLevel;
}

int FrameworkSink::EncoderFrameSize() const {
  return stream_ != nullptr ? stream_->codecpar->frame_size : 0;
}

bool FrameworkSink::Open() {
  Release();
  failed_ = false;
  error_.clear();
  const AVOutputFormat* format =
      containerName_.empty() ? nullptr : av_guess_format(containerName_.c_str(), nullptr, nullptr);
  if (format == nullptr)
    return FailOpen("Unknown output container \"" + containerName_ + "\"", false);
  if (path_.empty()) return FailOpen("No output file name", false);

  AVFormatContext* context = nullptr;
  int result = avformat_alloc_output_context2(&context, format, nullptr, path_.c_str());
  if (result < 0) return FailOpen(FfmpegErrorText(result), false);
  output_.reset(context);
  stream_ = avformat_new_stream(context, nullptr);
  if (stream_ == nullptr) return FailOpen(FfmpegErrorText(AVERROR(ENOMEM)), false);
  stream_->id = 0;

  EncoderSettings settings;
  settings.storedCodecId = codecId_;
  settings.sampleRate = sampleRate_;
  settings.channels = channels_;
  settings.bitRate = bitRate_;
  settings.sampleFormat = sampleFormat_;
  settings.variableBitRate = variableBitRate_;
  settings.compressionLevel = compressionLevel_;
  settings.globalHeader = (format->flags & AVFMT_GLOBALHEADER) != 0;
  std::string encoderError;
  encoder_ = OpenEncoder(
      settings, stream_->codecpar, [this](AVPacket* packet) { return WritePacket(packet); },
      encoderError);
  if (!encoder_) return FailOpen(encoderError, false);
  codecTimeBase_ = AVRational{1, sampleRate_};
  stream_->time_base = codecTimeBase_;

  PutTags(tags_, &context->metadata);
  AdaptTagKeys(*format, &context->metadata);
  for (const auto& [key, value] : metadata_)
    av_dict_set(&context->metadata, key.c_str(), value.c_str(), 0);

  const bool writesFile = (format->flags & AVFMT_NOFILE) == 0;
  bool created = false;
  if (writesFile) {
    // The file protocol by name: FFmpeg would otherwise read "concat:x.wav"
    // or "a:b.wav" as a URL of another protocol.
    std::error_code ignored;
    created = !std::filesystem::exists(path_, ignored);
    const std::string url = "file:" + path_;
    result = avio_open(&context->pb, url.c_str(), AVIO_FLAG_WRITE);
    if (result < 0) return FailOpen(FfmpegErrorText(result), false);
  }
  // A container that refuses the stream cannot take its packets either, so
  // a failed header fails Open rather than leaving a broken file behind.
  DictionaryPtr options = MuxerOptions(*format, sampleRate_);
  AVDictionary* rawOptions = options.release();
  result = avformat_write_header(context, &rawOptions);
  options.reset(rawOptions);
  if (result >= 0 && context->pb != nullptr && context->pb->error < 0) result = context->pb->error;
  if (result < 0) return FailOpen(FfmpegErrorText(result), created);
  framesWritten_ = 0;
  packetsWritten_ = 0;
  corrupt_ = CorruptsOutputForTests();
  return true;
}

bool FrameworkSink::Failed(const std::string& reason) {
  if (!failed_) error_ = reason.empty() ? "The output could not be written" : reason;
  failed_ = true;
  return false;
}

bool FrameworkSink::FailOpen(const std::string& reason, bool removeFile) {
  Release();
  error_ = reason;
  if (removeFile) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  return false;
}

bool FrameworkSink::Write(const int16_t* left, const int16_t* right, int frames) {
  if (!encoder_ || failed_) return false;
  if (left == nullptr || frames <= 0) return true;
  framesWritten_ += frames;
  return encoder_->Write(left, channels_ == 2 ? right : nullptr, frames) ||
         Failed(encoder_->ErrorText());
}

bool FrameworkSink::WriteWide(const double* left, const double* right, int frames) {
  if (!encoder_ || failed_) return false;
  if (left == nullptr || frames <= 0) return true;
  framesWritten_ += frames;
  return encoder_->WriteWide(left, channels_ == 2 ? right : nullptr, frames) ||
         Failed(encoder_->ErrorText());
}

bool FrameworkSink::WritePacket(AVPacket* packet) {
  packet->stream_index = stream_->index;
  av_packet_rescale_ts(packet, codecTimeBase_, stream_->time_base);
  // The third packet: past any header the encoder puts in its first.
  if (corrupt_ && ++packetsWritten_ == 3 && packet->size > 0 &&
      av_packet_make_writable(packet) >= 0) {
    for (int i = packet->size / 2; i < packet->size && i < packet->size / 2 + 8; ++i)
      packet->data[i] ^= 0x5A;
  }
  // The muxer reports the file's write errors here too.
  const int result = av_interleaved_write_frame(output_.get(), packet);
  return result >= 0 || Failed(FfmpegErrorText(result));
}

bool FrameworkSink::Close() {
  if (!encoder_) return false;
  // After a failure the file is abandoned: no trailer, just closed.
  if (!failed_ && !encoder_->Finish()) Failed(encoder_->ErrorText());
  if (!failed_) {
    const int result = av_write_trailer(output_.get());
    if (result < 0) Failed(FfmpegErrorText(result));
  }
  const EncodedAudio encoded = encoder_->Encoded();
  CloseFile();
  Release();
  written_.reset();
  if (failed_) return false;
  WrittenAudio written;
  written.frames = framesWritten_;
  written.rate = sampleRate_;
  written.channels = channels_;
  written.lossless = encoded.lossless;
  written.hash = encoded.hash.value();
  // What the packets hold beyond the audio is priming in front and padding
  // at the end (a last frame filled up with silence).
  if (encoded.priming > 0 && encoded.packetFrames >= encoded.priming + framesWritten_) {
    written.priming = encoded.priming;
    written.padding = encoded.packetFrames - encoded.priming - framesWritten_;
  }
  written_ = written;
  return true;
}

bool FrameworkSink::CloseFile() {
  AVFormatContext* context = output_.get();
  if (context->pb == nullptr || (context->oformat->flags & AVFMT_NOFILE) != 0) return true;
  // Buffered bytes go out now; a write error is kept in the I/O context.
  avio_flush(context->pb);
  const int error = context->pb->error;
  const int closed = avio_closep(&context->pb);
  if (error < 0) return Failed(FfmpegErrorText(error));
  if (closed < 0) return Failed(FfmpegErrorText(closed));
  return true;
}

void FrameworkSink::Release() {
  encoder_.reset();
  stream_ = nullptr;
  output_.reset();
}

std::unique_ptr<MediaSink> MakeFrameworkSink() { return std::make_unique<FrameworkSink>(); }

}  // namespace quillo
