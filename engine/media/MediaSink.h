#pragma once

#include <cstdint>
#include <string>

#include "engine/media/SinkOptions.h"
#include "engine/media/TagInfo.h"

namespace quillo {

// An encoder or file writer for one output file. The engine calls SetTags,
// SetPath and the format setters, then Open, any number of Writes, Close.
// A sink whose Open failed is destroyed without Close.
class MediaSink {
 public:
  virtual ~MediaSink() = default;
  MediaSink(const MediaSink&) = delete;
  MediaSink& operator=(const MediaSink&) = delete;

  // The tags to write; empty texts are absent. The track is a decimal
  // number or empty.
  virtual void SetTags(const TagInfo& /*tags*/) {}
  virtual void SetPath(const std::string& path) = 0;
  // Rate in Hz and channel count (1 or 2) of the PCM that Write receives.
  virtual void SetSampleRate(int /*hz*/) {}
  virtual void SetChannels(int /*channels*/) {}
  // Bits per second; 0 = the codec's own choice.
  virtual void SetBitRate(int /*bitsPerSecond*/) {}
  virtual void SetCodecOptions(const SinkOptions& /*options*/) {}
  // True for a writer that converts the rate and channel count given to
  // SetSampleRate and SetChannels to its format's own: the engine then hands
  // it the source's blocks unconverted.
  virtual bool ResamplesItself() const { return false; }
  // Creates the output file and the encoder.
  virtual bool Open() = 0;
  // With one channel only `left` is used; with two they are interleaved.
  // False when the samples could not be encoded or written; the output is
  // then incomplete and the engine abandons it.
  virtual bool Write(const int16_t* left, const int16_t* right, int frames) = 0;
  // Flushes the encoder, writes trailers and tags, closes the file. False
  // when any of that failed: the file on disk is not a complete output.
  virtual bool Close() = 0;
  // Why the last Open, Write or Close failed, in words for the user (for
  // example "No space left on device"); empty when unknown.
  virtual std::string ErrorText() const { return {}; }

 protected:
  MediaSink() = default;
};

}  // namespace quillo
