#include "tests/backends/files/AuTestFiles.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

namespace quillo::test {
namespace {

SNDFILE* OpenForWrite(const std::string& path, int format, int rate, int channels) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    throw std::runtime_error("libsndfile cannot write " + path + ": " + sf_strerror(nullptr));
  }
  return file;
}

}  // namespace

std::vector<uint8_t> AuHeaderBytes(bool bigEndian, uint32_t dataOffset, uint32_t dataSize,
                                   uint32_t encoding, uint32_t rate, uint32_t channels) {
  std::vector<uint8_t> out;
  PutInt(out, 0x2E736E64, 4, bigEndian);  // ".snd" read in the file's order
  PutInt(out, dataOffset, 4, bigEndian);
  PutInt(out, dataSize, 4, bigEndian);
  PutInt(out, encoding, 4, bigEndian);
  PutInt(out, rate, 4, bigEndian);
  PutInt(out, channels, 4, bigEndian);
  return out;
}

std::vector<uint8_t> AuFile(bool bigEndian, uint32_t encoding, uint32_t rate, uint32_t channels,
                            const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out =
      AuHeaderBytes(bigEndian, 24, static_cast<uint32_t>(data.size()), encoding, rate, channels);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void WriteWithSndfile(const std::string& path, int format, int rate, int channels,
                      const std::vector<int16_t>& samples) {
  SNDFILE* file = OpenForWrite(path, format, rate, channels);
  const int subformat = format & SF_FORMAT_SUBMASK;
  if (subformat == SF_FORMAT_FLOAT || subformat == SF_FORMAT_DOUBLE) {
    std::vector<double> values(samples.begin(), samples.end());
    for (double& v : values) v /= 32768.0;
    sf_write_double(file, values.data(), static_cast<sf_count_t>(values.size()));
  } else {
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
  }
  sf_close(file);
}

DecodedAudio ReadWithSndfile(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    throw std::runtime_error("libsndfile cannot read " + path + ": " + sf_strerror(nullptr));
  }
  DecodedAudio audio;
  audio.rate = info.samplerate;
  audio.channels = info.channels;
  const int subformat = info.format & SF_FORMAT_SUBMASK;
  const bool floating = subformat == SF_FORMAT_FLOAT || subformat == SF_FORMAT_DOUBLE;
  std::vector<int16_t> block(4096 * static_cast<size_t>(info.channels));
  std::vector<double> values(block.size());
  for (;;) {
    // libsndfile hands float data to 16-bit reads unscaled; read it as
    // -1.0..1.0 and scale it here instead.
    const sf_count_t got =
        floating ? sf_read_double(file, values.data(), static_cast<sf_count_t>(values.size()))
                 : sf_read_short(file, block.data(), static_cast<sf_count_t>(block.size()));
    if (got <= 0) {
      break;
    }
    for (sf_count_t i = 0; floating && i < got; ++i) {
      const double scaled = std::round(values[static_cast<size_t>(i)] * 32768.0);
      block[static_cast<size_t>(i)] = static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
    }
    audio.samples.insert(audio.samples.end(), block.begin(), block.begin() + got);
  }
  sf_close(file);
  return audio;
}

std::vector<int16_t> TestSignal(int channels, int frames, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-2000, 2000);
  std::vector<int16_t> out;
  out.reserve(static_cast<size_t>(channels) * static_cast<size_t>(frames));
  for (int f = 0; f < frames; ++f) {
    for (int c = 0; c < channels; ++c) {
      const double t = static_cast<double>(f) / 8000.0;
      const double hz = 100.0 + 3000.0 * t + 150.0 * c;
      const double value = 28000.0 * std::sin(2.0 * M_PI * hz * t) + noise(random);
      out.push_back(
          static_cast<int16_t>(std::lround(std::fmax(-32768.0, std::fmin(32767.0, value)))));
    }
  }
  return out;
}

}  // namespace quillo::test
