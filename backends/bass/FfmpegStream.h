#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backends/bass/AudioStream.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;

namespace quillo::audio {

// AAC (raw ADTS, or in MP4/M4A/M4B), ALAC in MP4, ADX and FLAC (native or in
// Ogg) through FFmpeg's demuxers and decoders, delivered as 16-bit PCM.
// Damaged packets are passed over and decoding goes on after them.
class FfmpegStream final : public AudioStream {
 public:
  enum class Container { Mp4, Adts, Adx, OggFlac, Flac };
  // Opens `path` as `container`; an MP4 opens only when its audio codec is
  // one of those allowed (AAC with `allowAac`, ALAC with `allowAlac`).
  static std::unique_ptr<AudioStream> Open(const std::string& path, Container container,
                                           bool allowAac, bool allowAlac);
  ~FfmpegStream() override;

  uint64_t FileSize() const override { return fileSize_; }

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  FfmpegStream() = default;
  // Decodes the next frame into pending_; false at the end.
  bool DecodeNextFrame();
  bool ConvertFrame();

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* frame_ = nullptr;
  int streamIndex_ = -1;
  bool flushed_ = false;
  bool ended_ = false;
  int errors_ = 0;
  std::vector<int16_t> pending_;
  size_t pendingOffset_ = 0;
  uint64_t fileSize_ = 0;
};

// The number of samples per channel of the raw ADTS stream in the file, found
// from its frame headers (after an ID3v2 tag); 0 when there is none.
uint64_t CountAdtsSamples(const std::string& path);

}  // namespace quillo::audio
