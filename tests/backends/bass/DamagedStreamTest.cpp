// Files the audio library must refuse (impossible sample rates) and damaged
// files it must decode as far as they can be decoded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "backends/bass/BassSource.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::Ffmpeg;
using test::ShellQuote;

// The 80-bit extended float of an AIFF "COMM" chunk's rate.
std::vector<uint8_t> Extended80(uint32_t value) {
  std::vector<uint8_t> out(10, 0);
  if (value == 0) return out;
  const int exponent = 31 - __builtin_clz(value);
  const uint16_t biased = static_cast<uint16_t>(16383 + exponent);
  const uint64_t mantissa = uint64_t{value} << (63 - exponent);
  out[0] = static_cast<uint8_t>(biased >> 8);
  out[1] = static_cast<uint8_t>(biased);
  for (int i = 0; i < 8; ++i) out[2 + i] = static_cast<uint8_t>(mantissa >> (56 - 8 * i));
  return out;
}

// `bytes` with `replacement` written where `id` is followed by `offset` bytes.
std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, const char* id, size_t offset,
                             const std::vector<uint8_t>& replacement) {
  const auto at = std::search(bytes.begin(), bytes.end(), id, id + 4);
  EXPECT_NE(at, bytes.end()) << id;
  if (at == bytes.end()) return bytes;
  std::copy(replacement.begin(), replacement.end(), at + static_cast<std::ptrdiff_t>(offset));
  return bytes;
}

std::vector<uint8_t> Le32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

class DamagedStreamTest : public ::testing::Test {
 protected:
  void SetUp() override { test::StartLibrary(library_); }

  audio::AudioLibrary library_;
  test::TempDir dir_;
};

TEST_F(DamagedStreamTest, WavAndAiffWithImpossibleRatesDoNotOpen) {
  const std::string wav = dir_.File("in.wav");
  const std::string aiff = dir_.File("in.aiff");
  ASSERT_TRUE(Ffmpeg("-f lavfi -i sine=frequency=440:duration=1 -ac 2 " + ShellQuote(wav)));
  ASSERT_EQ(test::Run("sox " + ShellQuote(wav) + " " + ShellQuote(aiff)), 0);
  const std::vector<uint8_t> wavBytes = test::ReadFile(wav);
  const std::vector<uint8_t> aiffBytes = test::ReadFile(aiff);

  struct Case {
    uint32_t rate;
    bool opens;
  };
  const Case cases[] = {{0, false},   {1, false},     {999, false},
                        {1000, true}, {768000, true}, {800000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    // The rate field: 12 bytes into the "fmt " chunk, 16 into "COMM".
    const std::string badWav = dir_.File("rate.wav");
    const std::string badAiff = dir_.File("rate.aiff");
    test::WriteFile(badWav, Patched(wavBytes, "fmt ", 12, Le32(c.rate)));
    test::WriteFile(badAiff, Patched(aiffBytes, "COMM", 16, Extended80(c.rate)));
    for (const std::string& path : {badWav, badAiff}) {
      BassSource source(library_);
      ASSERT_EQ(source.Open(path, 0), c.opens) << path;
      if (c.opens) {
        EXPECT_EQ(source.GetSampleRate(), static_cast<int>(c.rate));
        EXPECT_EQ(test::DecodeAll(source).Frames(), 44100u);
      }
    }
  }
}

TEST_F(DamagedStreamTest, FlacDecodesPastDamageAndUpToAnEarlyEnd) {
  // 20 s of two tones under a little noise, so that the file is large enough
  // for 200 kB of damage to be a tenth of it.
  const std::string flac = dir_.File("tone.flac");
  ASSERT_TRUE(
      Ffmpeg("-f lavfi -i 'aevalsrc=0.5*sin(2*PI*440*t)+0.05*(random(0)-0.5)|"
             "0.5*sin(2*PI*660*t)+0.05*(random(1)-0.5):s=44100:d=20' -c:a flac " +
             ShellQuote(flac)));
  const std::vector<uint8_t> bytes = test::ReadFile(flac);
  ASSERT_GT(bytes.size(), 2'000'000u);
  constexpr size_t kFrames = 44100 * 20;

  BassSource source(library_);
  ASSERT_TRUE(source.Open(flac, 0));
  const std::vector<int16_t> intact = test::DecodeAll(source).samples;
  ASSERT_EQ(intact.size(), kFrames * 2);

  std::vector<uint8_t> zeroed = bytes;
  const size_t middle = zeroed.size() / 2;
  std::fill(zeroed.begin() + static_cast<std::ptrdiff_t>(middle - 100'000),
            zeroed.begin() + static_cast<std::ptrdiff_t>(middle + 100'000), 0);
  std::vector<uint8_t> cut(bytes.begin(),
                           bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() * 6 / 10));

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    size_t leastFrames;  // what must come out
    size_t sameFrames;   // how far it equals the intact file
  };
  const Case cases[] = {
      {"zeroed.flac", zeroed, 15 * 44100, 8 * 44100},
      {"cut.flac", cut, 11 * 44100, 11 * 44100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir_.File(c.name);
    test::WriteFile(path, c.bytes);
    ASSERT_TRUE(source.Open(path, 0));
    const test::Decoded decoded = test::DecodeAll(source);
    EXPECT_GE(decoded.Frames(), c.leastFrames);
    EXPECT_LE(decoded.Frames(), kFrames);
    ASSERT_GE(decoded.samples.size(), c.sameFrames * 2);
    EXPECT_TRUE(std::equal(intact.begin(),
                           intact.begin() + static_cast<std::ptrdiff_t>(c.sameFrames * 2),
                           decoded.samples.begin()));
    // What follows the damage is the file's own audio again: its last
    // second is the intact file's last second.
    if (c.bytes.size() == bytes.size()) {
      EXPECT_TRUE(
          std::equal(intact.end() - 44100 * 2, intact.end(), decoded.samples.end() - 44100 * 2));
    }
  }
}

}  // namespace
}  // namespace quillo
