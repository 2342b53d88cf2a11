#pragma once

#include <memory>
#include <string>

#include "backends/ffmpeg/FrameworkSinkEncoder.h"
#include "backends/ffmpeg/FrameworkSinkHandles.h"
#include "backends/ffmpeg/FrameworkSinkTags.h"
#include "engine/MediaSink.h"

namespace quillo {

// The sink that encodes through FFmpeg and writes the packets into a
// container found by its short name (SetCodecOptions: the row's container
// name and stored codec id).
class FrameworkSink final : public MediaSink {
 public:
  FrameworkSink() = default;
  ~FrameworkSink() override;

  void SetTags(const std::string& title, const std::string& artist, const std::string& album,
               const std::string& genre, const std::string& year, const std::string& comment,
               const std::string& composer, const std::string& copyright, int track) override;
  void SetPath(const std::string& path) override { path_ = path; }
  void SetSampleRate(int hz) override { sampleRate_ = hz; }
  void SetChannels(int channels) override { channels_ = channels; }
  void SetBitRate(int bitsPerSecond) override { bitRate_ = bitsPerSecond; }
  void SetCodecOptions(const SinkOptions& options) override;

  // Creates the file and writes the container header. On failure nothing is
  // left open and a file this call created is removed again.
  bool Open() override;
  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  bool Close() override;

 private:
  bool WritePacket(AVPacket* packet);
  // Undoes a failed Open, removing the file it created; returns false.
  bool Fail(bool removeFile);
  // Frees the encoder and the output context; an open file is closed as it is.
  void Release();

  std::string path_;
  std::string containerName_;
  int32_t codecId_ = 0;
  int sampleRate_ = 0;
  int channels_ = 0;
  int bitRate_ = 0;
  SinkTags tags_;

  OutputContextPtr output_;
  AVStream* stream_ = nullptr;  // owned by output_
  AVRational codecTimeBase_{0, 1};
  std::unique_ptr<FrameworkSinkEncoder> encoder_;
};

// A new, unconfigured framework sink.
std::unique_ptr<MediaSink> MakeFrameworkSink();

}  // namespace quillo
