#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "engine/media/SampleFormat.h"
#include "engine/media/SampleHash.h"

namespace quillo {

// What the sink asks of its encoder.
struct EncoderSettings {
  int32_t storedCodecId = 0;  // as the settings store it
  int sampleRate = 0;
  int channels = 0;
  int bitRate = 0;            // bit/s; bits per code word for G.726
  bool globalHeader = false;  // the container wants the codec headers up front
  // Opus: variable bit rate (1) or constant (0); WavPack: compression level.
  int variableBitRate = 1;
  int compressionLevel = 1;
  // The resolution of the audio to come: a wide one makes the encoder keep
  // as many bits as its format can.
  SampleFormat sampleFormat;
};

// Receives each encoded packet, time-stamped in 1 / sample rate; false when
// the container refused it.
using PacketWriter = std::function<bool(AVPacket*)>;

// What an encoder was given and what its packets hold.
struct EncodedAudio {
  bool lossless = false;     // the codec decodes back to exactly the samples in `hash`
  SampleHash hash;           // of the samples as the encoder took them, when lossless
  int64_t priming = 0;       // frames of silence the encoder puts in front
  int64_t packetFrames = 0;  // frames the packets cover, priming and padding included
};

// Turns planar PCM (16-bit or wide) into packets: cuts the input into the
// encoder's frames and hands every packet to the writer as soon as it is ready.
class FrameworkSinkEncoder {
 public:
  virtual ~FrameworkSinkEncoder() = default;

  // False when the encoder failed or the writer refused a packet; the rest
  // of the block is dropped and the output is incomplete.
  virtual bool Write(const int16_t* left, const int16_t* right, int frames) = 0;
  // The same for wide samples (double, full scale 1.0; see SampleFormat.h).
  virtual bool WriteWide(const double* left, const double* right, int frames) = 0;
  // Encodes what is still buffered and drains the encoder; false as Write.
  virtual bool Finish() = 0;

  // Why the encoder failed, in words; empty when the writer refused a packet
  // (the writer knows why).
  const std::string& ErrorText() const { return error_; }
  const EncodedAudio& Encoded() const { return encoded_; }

 protected:
  EncodedAudio encoded_;

  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }

 private:
  std::string error_;
};

}  // namespace quillo
