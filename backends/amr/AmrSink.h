#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "backends/amr/AmrEncoder.h"
#include "engine/media/MediaSink.h"

namespace quillo {

// Writes ".amr" and ".awb" files from one channel at the band's rate (8000
// or 16000 Hz). The options choose the band, DTX and the mode of each band;
// rate, channels and tags are fixed by the format and not set. Samples are
// encoded in whole frames; a partial last frame is completed with silence
// at Close.
class AmrSink final : public MediaSink {
 public:
  // Closes a file still open; its result is lost, so callers Close first.
  ~AmrSink() override;

  void SetPath(const std::string& path) override { path_ = path; }
  // narrowBand 1: narrow band with amrMode; anything else: wide band with
  // wideBandMode. A mode that names no mode of its band becomes the fallback
  // mode the option pages show. Ignored while a file is open.
  void SetCodecOptions(const SinkOptions& options) override;
  bool Open() override;
  // Encodes the left channel only.
  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  bool Close() override;
  std::string ErrorText() const override { return error_; }

 private:
  bool Fail(const std::string& reason);
  // Back to the state after construction; the error text stays.
  void Reset();

  std::string path_;
  const AmrStorageFormat* format_ = nullptr;  // null until the options are set
  bool dtx_ = false;
  int mode_ = 0;
  std::unique_ptr<AmrEncoder> encoder_;
  // The incomplete frame the last Write left.
  std::array<int16_t, kAmrMaxFrameSamples> frame_{};
  int buffered_ = 0;
  bool failed_ = false;
  std::string error_;
};

}  // namespace quillo
