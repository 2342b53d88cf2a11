#pragma once

#include <array>
#include <memory>
#include <string>

#include "backends/amr/AmrNbEncoder.h"
#include "backends/ffmpeg/FfmpegPtr.h"
#include "backends/ffmpeg/FrameworkSinkEncoder.h"
#include "engine/media/Dither.h"

namespace quillo {

// The sink's AMR narrow-band encoder for the 3GP and 3G2 containers: FFmpeg
// has no AMR-NB encoder of its own here, so opencore-amrnb encodes and each
// storage-format frame becomes one packet of 160 samples. Takes 8000 Hz mono
// only; the last partial frame is padded with silence.
class AmrNbStreamEncoder final : public FrameworkSinkEncoder {
 public:
  static std::unique_ptr<AmrNbStreamEncoder> Open(const EncoderSettings& settings,
                                                  AVCodecParameters* parameters,
                                                  PacketWriter writer, std::string& error);

  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  // The encoder takes 16 bits: wide samples are rounded to them with dither.
  bool WriteWide(const double* left, const double* right, int frames) override;
  bool Finish() override;

 private:
  AmrNbStreamEncoder() = default;
  // Hands `frames` frames to `fill` in pieces that fit the frame buffer
  // (fill(destination, count)), encoding each buffer as it fills up.
  template <typename Fill>
  bool Buffer(int frames, Fill fill);
  // Encodes the full frame buffer; false when the encoder failed or the
  // packet was refused.
  bool EncodeFrame();

  std::unique_ptr<AmrNbEncoder> encoder_;
  PacketPtr packet_;
  PacketWriter writer_;
  int mode_ = 0;
  std::array<int16_t, AmrNbEncoder::kFrameSamples> samples_{};
  int filled_ = 0;
  TpdfDither dither_;
  int64_t nextPts_ = 0;
};

}  // namespace quillo
