#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backends/bass/AudioLibrary.h"
#include "engine/media/Downmix.h"
#include "engine/media/MediaSource.h"

namespace quillo {

// Decodes through the audio library: a decoding-only stream, a tracker module
// when no stream format reads the file, or a MIDI stream for MIDI file names.
// Delivers the library's 8-bit or 16-bit data as 16-bit planar PCM, and the
// wide data of streams that keep more than 16 bits through ReadWide; files of
// three or more channels are folded to stereo, by the speakers the stream
// reports.
class BassSource final : public MediaSource {
 public:
  explicit BassSource(const audio::AudioLibrary& library) : library_(library) {}

  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  SampleFormat GetSampleFormat() override;
  int ReadWide(double* left, double* right) override;
  uint64_t GetProgressPosition() override;
  bool ReadTags(TagInfo& tags) override;
  std::optional<EarlyEnd> EndedEarly() override;

 private:
  enum class Kind { Stream = 0, Module = 2, Midi = 3 };

  // Splits `bytes` bytes of the library's frames into the channels, folding
  // more than two to stereo.
  int Split(int16_t* left, int16_t* right, size_t bytes);
  // Read on a wide stream: a block read wide, narrowed as 16-bit data is.
  int ReadNarrowed(int16_t* left, int16_t* right);

  const audio::AudioLibrary& library_;
  std::unique_ptr<audio::AudioStream> stream_;
  Kind kind_ = Kind::Stream;
  int inputBits_ = 16;
  int inputBytesPerSample_ = 2;
  std::vector<uint8_t> buffer_;
  std::vector<double> wide_;  // interleaved frames of a wide stream
  // One block read wide, for Read on a wide stream.
  std::vector<double> wideLeft_;
  std::vector<double> wideRight_;
  StereoFold fold_;
  std::string path_;
};

// Reads the tags of any file the audio library opens. Returns false when the
// file cannot be opened or has no tags; `tags` is then left alone.
bool ReadFileTags(const audio::AudioLibrary& library, const std::string& path, TagInfo& tags);

}  // namespace quillo
