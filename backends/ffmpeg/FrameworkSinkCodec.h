#pragma once

#include <memory>
#include <string>

#include "backends/ffmpeg/FfmpegPtr.h"
#include "backends/ffmpeg/FrameworkSinkEncoder.h"
#include "backends/ffmpeg/FrameworkSinkSamples.h"

namespace quillo {

// The libavcodec encoder behind the sink. Frame-oriented encoders receive
// frames of exactly their frame size, the last one possibly shorter
// (libavcodec pads it with silence for encoders that need whole frames);
// sample-oriented encoders (PCM and its kin) receive each block as it comes.
class FrameworkSinkCodec final : public FrameworkSinkEncoder {
 public:
  static std::unique_ptr<FrameworkSinkCodec> Open(const EncoderSettings& settings,
                                                  AVCodecParameters* parameters,
                                                  PacketWriter writer, std::string& error);

  bool Write(const int16_t* left, const int16_t* right, int frames) override;
  bool WriteWide(const double* left, const double* right, int frames) override;
  bool Finish() override;

 private:
  FrameworkSinkCodec() = default;

  // Cuts the input into encoder frames: put(left, right, count, offset)
  // converts `count` frames into the frame's buffers at `offset`.
  template <typename Sample, typename Put>
  bool Fill(const Sample* left, const Sample* right, int frames, Put put);
  // Makes the frame's buffers ours to fill (the encoder may still hold them).
  bool PrepareFrame();
  // Encodes the filled part of the frame; false when the encoder failed or a
  // packet was refused.
  bool SendFrame();
  // Hands every packet the encoder has ready to the writer.
  bool ReceivePackets();

  CodecContextPtr context_;
  FramePtr frame_;
  PacketPtr packet_;
  PacketWriter writer_;
  int channels_ = 0;
  int capacity_ = 0;        // frames per encoder frame
  int filled_ = 0;          // frames waiting in frame_
  bool eachBlock_ = false;  // sample-oriented: encode every block as it comes
  int64_t nextPts_ = 0;
  // How wide samples become the encoder's integers.
  TpdfDither dither_;
  WideRounding rounding_;
};

}  // namespace quillo
