#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/SampleFormat.h"

namespace quillo::audio {

// What a stream delivers: rate, channel count and sample width. Samples are
// signed 16-bit, or unsigned 8-bit when `eightBits` is set (as the file holds
// them), or, when `format` is wide, doubles at full scale 1.0 that keep every
// bit of the file's `format` (SampleFormat.h).
struct ChannelInfo {
  int freq = 0;
  int chans = 0;
  bool eightBits = false;
  SampleFormat format;

  int BytesPerSample() const {
    if (format.IsWide()) return static_cast<int>(sizeof(double));
    return eightBits ? 1 : 2;
  }
};

// The value GetData returns at the end of the stream or on a decoding error,
// and FileSize returns when the stream has no file length.
inline constexpr int64_t kDataEnd = -1;
inline constexpr uint64_t kNoFileSize = ~uint64_t{0};

// The size of the file at `path` in bytes, or kNoFileSize when it cannot be read.
uint64_t FileSizeOf(const std::string& path);

// A decoding-only stream of interleaved PCM, pulled by the caller.
// Lengths and positions are in bytes of that PCM.
class AudioStream {
 public:
  virtual ~AudioStream() = default;
  AudioStream(const AudioStream&) = delete;
  AudioStream& operator=(const AudioStream&) = delete;

  const ChannelInfo& Info() const { return info_; }
  // The speaker of each channel of a frame (see ChannelOrder.h), as the file
  // or the decoder reports them; empty when neither does (WAV order).
  const std::vector<int>& Speakers() const { return speakers_; }
  uint64_t Length() const { return length_; }
  uint64_t Position() const { return position_; }
  // The size of the file the stream reads, or kNoFileSize.
  uint64_t FileSize() const { return fileSize_; }
  // The length in bytes that the file's header announces; 0 when it
  // announces none that can be trusted. A stream that ends well short of it
  // stopped on damage.
  uint64_t AnnouncedLength() const { return announced_; }
  // After GetData returned kDataEnd: whether the decoder stopped on an error
  // rather than at the end of the data.
  bool StoppedOnError() const { return stoppedOnError_; }

  int BytesPerFrame() const { return info_.chans * info_.BytesPerSample(); }
  double BytesToSeconds(uint64_t bytes) const;

  // Fills `buffer` with up to `bytes` bytes (whole frames); returns the count,
  // or kDataEnd when nothing is left or the data cannot be decoded.
  int64_t GetData(void* buffer, size_t bytes);

 protected:
  AudioStream() = default;
  // Decodes up to `bytes` bytes, whole frames; 0 at the end or on error.
  virtual size_t Decode(uint8_t* buffer, size_t bytes) = 0;
  // The whole frames that fit in `bytes`, at most `framesLeft`.
  size_t FramesToDecode(size_t bytes, uint64_t framesLeft) const;
  // For a stream of a known frame count, once info_ is set: the length, and
  // the frames left to decode.
  void SetFrames(uint64_t frames) {
    framesLeft_ = frames;
    length_ = frames * static_cast<uint64_t>(BytesPerFrame());
  }

  ChannelInfo info_;
  std::vector<int> speakers_;
  uint64_t length_ = 0;
  uint64_t framesLeft_ = 0;
  uint64_t fileSize_ = kNoFileSize;
  uint64_t announced_ = 0;
  bool stoppedOnError_ = false;

 private:
  uint64_t position_ = 0;
};

}  // namespace quillo::audio
