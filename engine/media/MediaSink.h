#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/media/Dither.h"
#include "engine/media/SampleFormat.h"
#include "engine/media/TagInfo.h"
#include "engine/media/WindowsMediaFormat.h"

namespace quillo {

// What a sink handed its encoder, reported after a successful Close, so that
// the finished output can be decoded back and checked against it.
struct WrittenAudio {
  int64_t frames = 0;  // sample frames per channel
  int rate = 0;
  int channels = 0;
  // The codec gives back exactly what it was given: `hash` (SampleHash) is
  // then that of the samples encoded, after any rounding to its depth.
  bool lossless = false;
  uint64_t hash = 0;
  // The encoder's priming (silence decoders must drop in front) and the
  // padding after the last sample, where the output records them; 0 when the
  // codec has neither.
  int64_t priming = 0;
  int64_t padding = 0;
};

// Codec options handed to a sink before Open. Which fields a sink reads
// depends on the sink.
struct SinkOptions {
  // Framework sink: the muxer's short name and the stored codec id of the row.
  std::string containerName;
  int32_t codecId = 0;
  // Framework sink, read only by the codecs that have them: Opus's variable
  // (1) or constant (0) bit rate, and WavPack's compression level (0 fast,
  // 1 normal, 2 high, 3 very high).
  int32_t variableBitRate = 1;
  int32_t compressionLevel = 1;

  // AMR sink: 1 = narrow band, 0 = wide band; DTX on/off; the narrow-band
  // mode (0..7) and the wide-band mode (0..8).
  int32_t narrowBand = 0;
  int32_t dtx = 0;
  int32_t amrMode = 0;
  int32_t wideBandMode = 0;

  // Windows Media sink: the format the runtime picked from its list.
  WindowsMediaFormat windowsMediaFormat;
};

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
  // The resolution of the audio to come (the source's, or the widest of a
  // join's files). A sink that can keep more than 16 bits chooses its depth
  // from it; the others ignore it.
  virtual void SetSampleFormat(const SampleFormat& /*format*/) {}
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
  // The same for wide samples (double, full scale 1.0; see SampleFormat.h),
  // which the engine hands over for sources of more than 16 bits. The
  // default rounds them to 16 bits with TPDF dither and calls Write; a sink
  // that keeps more bits overrides it. `right` may be `left` itself.
  virtual bool WriteWide(const double* left, const double* right, int frames);
  // Flushes the encoder, writes trailers and tags, closes the file. False
  // when any of that failed: the file on disk is not a complete output.
  virtual bool Close() = 0;
  // Why the last Open, Write or Close failed, in words for the user (for
  // example "No space left on device"); empty when unknown.
  virtual std::string ErrorText() const { return {}; }
  // After a successful Close: what went to the encoder; none from a sink
  // that does not keep count.
  virtual std::optional<WrittenAudio> Written() const { return std::nullopt; }

 protected:
  MediaSink() = default;

 private:
  TpdfDither dither_;
  std::vector<int16_t> ditheredLeft_;
  std::vector<int16_t> ditheredRight_;
};

}  // namespace quillo
