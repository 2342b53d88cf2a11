#include "tests/backends/bass/BassTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/support/TestSupport.h"

namespace quillo::test {

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutText(std::vector<uint8_t>& out, const char* text) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(text[i]));
}

std::vector<uint8_t> WavHeader(int rate, int channels, int bits, int format, size_t dataBytes) {
  std::vector<uint8_t> out;
  PutText(out, "RIFF");
  Put(out, static_cast<uint32_t>(36 + dataBytes), 4);
  PutText(out, "WAVE");
  PutText(out, "fmt ");
  Put(out, 16, 4);
  Put(out, static_cast<uint32_t>(format), 2);
  Put(out, static_cast<uint32_t>(channels), 2);
  Put(out, static_cast<uint32_t>(rate), 4);
  Put(out, static_cast<uint32_t>(rate * channels * bits / 8), 4);
  Put(out, static_cast<uint32_t>(channels * bits / 8), 2);
  Put(out, static_cast<uint32_t>(bits), 2);
  PutText(out, "data");
  Put(out, static_cast<uint32_t>(dataBytes), 4);
  return out;
}

}  // namespace

void StartLibrary(audio::AudioLibrary& library, const std::vector<std::string>& without) {
  ASSERT_TRUE(library.Init());
  for (std::string_view name : audio::kStartupPlugins) {
    if (std::find(without.begin(), without.end(), name) == without.end()) {
      ASSERT_NE(library.PluginLoad(name), 0) << name;
    }
  }
}

Decoded DecodeAll(MediaSource& source, int maxFrames) {
  Decoded result;
  result.channels = source.GetChannels();
  EXPECT_TRUE(result.channels == 1 || result.channels == 2);
  std::vector<int16_t> left(kMaxBlockFrames + 64, 0x5A5A);
  std::vector<int16_t> right(kMaxBlockFrames + 64, 0x5A5A);
  for (;;) {
    const int frames = source.Read(left.data(), result.channels == 2 ? right.data() : nullptr);
    if (frames <= 0) break;
    EXPECT_LE(frames, maxFrames);
    ++result.reads;
    result.largestRead = std::max(result.largestRead, frames);
    for (int i = 0; i < frames; ++i) {
      result.samples.push_back(left[static_cast<size_t>(i)]);
      if (result.channels == 2) result.samples.push_back(right[static_cast<size_t>(i)]);
    }
  }
  return result;
}

void WriteWav(const std::string& path, int rate, int channels, int bits, bool isFloat,
              const std::vector<int32_t>& samples) {
  const int bytes = bits / 8;
  std::vector<uint8_t> out =
      WavHeader(rate, channels, bits, isFloat ? 3 : 1, samples.size() * static_cast<size_t>(bytes));
  for (int32_t s : samples) Put(out, static_cast<uint32_t>(s), bytes);
  WriteFile(path, out);
}

void WriteFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& samples) {
  std::vector<int32_t> bits(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) std::memcpy(&bits[i], &samples[i], 4);
  WriteWav(path, rate, channels, 32, true, bits);
}

bool Ffmpeg(const std::string& arguments) {
  return Run("ffmpeg -nostdin -y -v error " + arguments) == 0;
}

std::vector<int32_t> Widen(const std::vector<int16_t>& samples) {
  return {samples.begin(), samples.end()};
}

}  // namespace quillo::test
