#pragma once

#include <cstdint>
#include <string>

#include "engine/media/MediaSink.h"

namespace quillo {

// Writes headerless signed 16-bit little-endian PCM, stereo interleaved left
// then right. Used for scratch files that another pass reads back.
class RawPcmWriter final : public MediaSink {
 public:
  ~RawPcmWriter() override;

  void SetPath(const std::string& path) override { path_ = path; }
  // 1 or 2; must be set before Write.
  void SetChannels(int channels) override { channels_ = channels; }
  // Creates the file, replacing any existing one.
  bool Open() override;
  // True only when every byte was written. A partial file is left as it is.
  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  // False when the data could not be flushed to the file.
  bool Close() override;
  std::string ErrorText() const override { return error_; }

 private:
  bool WriteAll(const uint8_t* data, size_t size);
  bool Fail(int error);

  std::string path_;
  int channels_ = 0;
  int fd_ = -1;
  std::string error_;
};

}  // namespace quillo
