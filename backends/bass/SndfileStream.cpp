#include "backends/bass/SndfileStream.h"

#include <sndfile.h>

#include <cstring>

#include "backends/bass/FileSize.h"
#include "backends/bass/SampleConvert.h"

namespace quillo::audio {

std::unique_ptr<AudioStream> SndfileStream::Open(const std::string& path, bool allowFlac) {
  SF_INFO sfInfo{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sfInfo);
  if (file == nullptr) return nullptr;
  std::unique_ptr<SndfileStream> stream(new SndfileStream);
  stream->file_ = file;

  const int major = sfInfo.format & SF_FORMAT_TYPEMASK;
  const int minor = sfInfo.format & SF_FORMAT_SUBMASK;
  // MPEG audio goes to the MPEG decoder, which trims encoder delay and padding.
  if (major == SF_FORMAT_MPEG) return nullptr;
  if (major == SF_FORMAT_FLAC && !allowFlac) return nullptr;
  if (minor == SF_FORMAT_MPEG_LAYER_I || minor == SF_FORMAT_MPEG_LAYER_II ||
      minor == SF_FORMAT_MPEG_LAYER_III)
    return nullptr;
  if (sfInfo.channels < 1 || sfInfo.channels > 64 || sfInfo.samplerate <= 0 || sfInfo.frames <= 0)
    return nullptr;

  bool eightBits = false;
  switch (minor) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      stream->reader_ = Reader::EightBit;
      eightBits = true;
      break;
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    case SF_FORMAT_VORBIS:
    case SF_FORMAT_OPUS:
      stream->reader_ = Reader::Float;
      break;
    default:
      stream->reader_ = Reader::Short;
      break;
  }
  stream->info_ = {sfInfo.samplerate, sfInfo.channels, eightBits};
  stream->length_ =
      static_cast<uint64_t>(sfInfo.frames) * static_cast<uint64_t>(stream->BytesPerFrame());
  stream->fileSize_ = FileSizeOf(path);
  return stream;
}

SndfileStream::~SndfileStream() {
  if (file_ != nullptr) sf_close(file_);
}

size_t SndfileStream::Decode(uint8_t* buffer, size_t bytes) {
  const auto perFrame = static_cast<size_t>(BytesPerFrame());
  const auto channels = static_cast<size_t>(info_.chans);
  const size_t frames = bytes / perFrame;
  const size_t samples = frames * channels;
  sf_count_t got = 0;
  switch (reader_) {
    case Reader::Short:
      got =
          sf_readf_short(file_, reinterpret_cast<short*>(buffer), static_cast<sf_count_t>(frames));
      break;
    case Reader::EightBit: {
      if (shorts_.size() < samples) shorts_.resize(samples);
      got = sf_readf_short(file_, shorts_.data(), static_cast<sf_count_t>(frames));
      for (size_t i = 0; i < static_cast<size_t>(got) * channels; ++i)
        buffer[i] = S16ToU8(shorts_[i]);
      break;
    }
    case Reader::Float: {
      if (floats_.size() < samples) floats_.resize(samples);
      got = sf_readf_float(file_, floats_.data(), static_cast<sf_count_t>(frames));
      for (size_t i = 0; i < static_cast<size_t>(got) * channels; ++i) {
        const int16_t sample = FloatToS16(floats_[i]);
        std::memcpy(buffer + 2 * i, &sample, 2);
      }
      break;
    }
  }
  return got > 0 ? static_cast<size_t>(got) * perFrame : 0;
}

}  // namespace quillo::audio
