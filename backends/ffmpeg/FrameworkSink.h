#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "backends/ffmpeg/FfmpegPtr.h"
#include "backends/ffmpeg/FrameworkSinkEncoder.h"
#include "backends/ffmpeg/FrameworkSinkTags.h"
#include "engine/media/MediaSink.h"

namespace quillo {

// The sink that encodes through FFmpeg and writes the packets into a
// container found by its short name (SetCodecOptions: the row's container
// name and stored codec id).
class FrameworkSink final : public MediaSink {
 public:
  void SetTags(const TagInfo& tags) override;
  void SetPath(const std::string& path) override { path_ = path; }
  void SetSampleRate(int hz) override { sampleRate_ = hz; }
  void SetChannels(int channels) override { channels_ = channels; }
  void SetBitRate(int bitsPerSecond) override { bitRate_ = bitsPerSecond; }
  void SetCodecOptions(const SinkOptions& options) override;
  // Wide audio makes the encoder keep as many bits as its format holds.
  void SetSampleFormat(const SampleFormat& format) override { sampleFormat_ = format; }
  // A container metadata entry set as given, after the tags: for a field of
  // the container's own that no tag stands for (an ASF attribute, say).
  void AddMetadata(const std::string& key, const std::string& value) {
    metadata_.emplace_back(key, value);
  }

  // Creates the file and writes the container header. The path is always a
  // local file name, also when it looks like a URL ("01:30.wav"). On failure
  // nothing is left open and a file this call created is removed again.
  bool Open() override;
  // False once encoding or writing failed; later blocks are refused too.
  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  // The same for wide samples: float formats take them as they are, integer
  // ones rounded to their bits, with dither where the audio has more.
  bool WriteWide(const double* left, const double* right, int frames) override;
  // Drains the encoder, writes the trailer and closes the file, checking
  // each step; false when any failed or an earlier Write did. Everything is
  // released either way.
  bool Close() override;
  std::string ErrorText() const override { return error_; }
  std::optional<WrittenAudio> Written() const override { return written_; }
  // After Open: the samples per frame the encoder takes; 0 for an encoder
  // that takes any count (PCM and its kin).
  int EncoderFrameSize() const;

 private:
  bool WritePacket(AVPacket* packet);
  // Remembers the first failure's reason; returns false.
  bool Failed(const std::string& reason);
  // Undoes a failed Open, removing the file if this Open created it; returns
  // false.
  bool FailOpen(const std::string& reason, bool removeFile);
  // Flushes and closes the output file; false when any of its data did not
  // reach the file.
  bool CloseFile();
  // Frees the encoder and the output context; an open file is closed as it is.
  void Release();

  std::string path_;
  std::string containerName_;
  int32_t codecId_ = 0;
  int variableBitRate_ = 1;
  int compressionLevel_ = 1;
  int sampleRate_ = 0;
  int channels_ = 0;
  int bitRate_ = 0;
  SampleFormat sampleFormat_;
  TagInfo tags_;
  std::vector<std::pair<std::string, std::string>> metadata_;

  OutputContextPtr output_;
  AVStream* stream_ = nullptr;  // owned by output_
  AVRational codecTimeBase_{0, 1};
  std::unique_ptr<FrameworkSinkEncoder> encoder_;
  bool failed_ = false;
  std::string error_;
  int64_t framesWritten_ = 0;
  int64_t packetsWritten_ = 0;
  bool corrupt_ = false;
  std::optional<WrittenAudio> written_;
};

// A new, unconfigured framework sink.
std::unique_ptr<MediaSink> MakeFrameworkSink();

}  // namespace quillo
