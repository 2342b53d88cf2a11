#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "backends/bass/AudioStream.h"
#include "backends/bass/LibraryHandles.h"

namespace quillo::audio {

// PCM containers through libsndfile: WAV (every PCM, float and ADPCM coding
// the library reads), AIFF, AU, Ogg Vorbis and Opus and the rest of its
// formats but FLAC. 8-bit files stay 8-bit (unsigned); 24- and 32-bit
// integers and float are delivered wide, as doubles that keep every bit;
// lossy codings decoded as float (Vorbis, Opus) are clamped to 16 bits.
// Block-coded WAV data (ADPCM, GSM) ends at the sample count of its "fact"
// chunk, not with the padding of its last block.
class SndfileStream final : public AudioStream {
 public:
  // `head` holds the file's first bytes, as read to recognise it.
  static std::unique_ptr<AudioStream> Open(const std::string& path, std::span<const uint8_t> head);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  enum class Reader { Short, EightBit, Float, Wide };
  SndfileStream() = default;

  SndfilePtr file_;
  Reader reader_ = Reader::Short;
  std::vector<float> floats_;
  std::vector<int16_t> shorts_;
};

}  // namespace quillo::audio
