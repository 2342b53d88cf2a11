#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/media/SampleFormat.h"
#include "engine/media/TagInfo.h"

namespace quillo {

// A block of PCM holds at most this many frames per channel.
inline constexpr int kMaxBlockFrames = 1152;

// The sample rates a source may report. A header that claims less or more is
// damaged: taken at its word, a rate of 1 Hz turns 32 KB into hours of audio.
inline constexpr int kMinSampleRate = 1000;
inline constexpr int kMaxSampleRate = 768000;
inline bool IsSaneSampleRate(int hz) { return hz >= kMinSampleRate && hz <= kMaxSampleRate; }
// The failure detail for a rate that is not sane.
inline std::string UnsupportedRateDetail(int hz) {
  return "Unsupported sample rate of " + std::to_string(hz) + " Hz";
}

// How far a stream got that stopped on damage before its end.
struct EarlyEnd {
  double decodedSeconds = 0.0;    // what was delivered
  double announcedSeconds = 0.0;  // what the file's header announced; 0 when unknown
};

// Whether `decoded` seconds fall so far short of the `announced` length
// that the data must have ended on damage: a header's length may be off by
// a frame or an encoder's padding, never by a second and a percent at once.
inline bool FallsShort(double decoded, double announced) {
  const double missing = announced - decoded;
  return announced > 0 && missing > 1.0 && missing > announced * 0.01;
}

// A decoder. Delivers planar PCM, one or two channels, in blocks of at most
// kMaxBlockFrames frames: signed 16-bit through Read, or, for a source whose
// GetSampleFormat is wide (more than 16 bits, or float), doubles at full
// scale 1.0 through ReadWide. Open never throws.
// Destroying a source releases everything it holds (the file, the decoder
// state, the library's handles), whether Open succeeded or not: its owner
// ends a source's lifetime where the file must be let go, and never calls
// Close for that.
class MediaSource {
 public:
  virtual ~MediaSource() = default;
  MediaSource(const MediaSource&) = delete;
  MediaSource& operator=(const MediaSource&) = delete;

  // Releases the file and the decoder state and clears what the source
  // reports, so that the same object may Open another file.
  virtual void Close() = 0;
  // Opens `path`. `renderRate` is the rate the engine would like; only
  // sources without a rate of their own (MIDI, modules) use it.
  virtual bool Open(const std::string& path, int renderRate) = 0;
  // Fills `left` (and `right` when two channels are delivered; otherwise it
  // is null) with up to kMaxBlockFrames frames. Returns the frame count, 0 or
  // less at the end of the stream or on error.
  virtual int Read(int16_t* left, int16_t* right) = 0;
  // The resolution of the samples. For a wide format the engine reads with
  // ReadWide only, and the samples keep every bit the file holds.
  virtual SampleFormat GetSampleFormat() { return {}; }
  // As Read, for a wide format: doubles at full scale 1.0 (SampleFormat.h).
  virtual int ReadWide(double* /*left*/, double* /*right*/) { return 0; }

  // Asked only after Open failed: 0 when the container has no audio stream.
  virtual int HasAudioStream() { return 1; }
  // Asked once Read returned 0 or less: set when the stream stopped on
  // damage (a read or decoding error, or data that ends well before the
  // length the file's header announces) instead of at its end. Sources whose
  // header gives no reliable length (MP3 without a frame count, rendered
  // MIDI and modules, AMR) only report errors.
  virtual std::optional<EarlyEnd> EndedEarly() { return std::nullopt; }
  virtual uint64_t GetProgressTotal() { return progressTotal_; }
  virtual uint64_t GetProgressPosition() { return progressPosition_; }
  virtual int GetDurationSeconds() { return duration_; }
  virtual int GetSourceChannels() { return sourceChannels_; }
  virtual int GetChannels() { return channels_; }
  virtual int GetSampleRate() { return sampleRate_; }
  virtual int GetBitsPerSample() { return bitsPerSample_; }
  virtual int GetBitRateKbps() { return bitRate_; }
  // Fills `tags` and returns true when the file has tags; otherwise leaves
  // `tags` alone.
  virtual bool ReadTags(TagInfo& /*tags*/) { return false; }

 protected:
  MediaSource() = default;
  // Sets every base field to 0; back-ends call it when they open or close.
  void ResetState() {
    progressTotal_ = 0;
    progressPosition_ = 0;
    duration_ = 0;
    sampleRate_ = 0;
    sourceChannels_ = 0;
    channels_ = 0;
    bitsPerSample_ = 0;
    bytesPerSample_ = 0;
    bitRate_ = 0;
  }

  uint64_t progressTotal_ = 0;
  uint64_t progressPosition_ = 0;
  int duration_ = 0;
  int sampleRate_ = 0;
  int sourceChannels_ = 0;
  int channels_ = 0;
  int bitsPerSample_ = 0;
  int bytesPerSample_ = 0;
  int bitRate_ = 0;
};

}  // namespace quillo
