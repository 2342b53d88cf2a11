// Decodes AU files written by libsndfile with the AU reader and with
// libsndfile itself and compares the samples.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <string>

#include "backends/files/AuSource.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

struct Coding {
  const char* name;
  int subformat;
  int tolerance;  // float and double may differ by one step of rounding
};

const Coding kCodings[] = {
    {"pcm_s8", SF_FORMAT_PCM_S8, 0}, {"pcm_16", SF_FORMAT_PCM_16, 0},
    {"pcm_24", SF_FORMAT_PCM_24, 0}, {"pcm_32", SF_FORMAT_PCM_32, 0},
    {"float", SF_FORMAT_FLOAT, 1},   {"double", SF_FORMAT_DOUBLE, 1},
    {"ulaw", SF_FORMAT_ULAW, 0},     {"alaw", SF_FORMAT_ALAW, 0},
};

struct Case {
  Coding coding;
  bool littleEndian;
  int channels;
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const Coding& coding : kCodings) {
    for (bool little : {false, true}) {
      for (int channels : {1, 2}) {
        cases.push_back({coding, little, channels});
      }
    }
  }
  return cases;
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  return std::string(info.param.coding.name) + (info.param.littleEndian ? "_le_" : "_be_") +
         std::to_string(info.param.channels) + "ch";
}

class AuMatchesSndfile : public testing::TestWithParam<Case> {};

TEST_P(AuMatchesSndfile, SameSamplesRateAndChannels) {
  const Case& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("signal.au");
  // An odd length, so the last block is partial.
  const int frames = 3 * kMaxBlockFrames + 509;
  const int format =
      SF_FORMAT_AU | c.coding.subformat | (c.littleEndian ? SF_ENDIAN_LITTLE : SF_ENDIAN_BIG);
  const std::vector<int16_t> signal = TestSignal(c.channels, frames, 7);
  WriteWithSndfile(path, format, 22050, c.channels, signal);
  const DecodedAudio expected = ReadWithSndfile(path);

  AuSource source;
  ASSERT_TRUE(source.Open(path, 44100));
  EXPECT_EQ(source.GetSampleRate(), 22050);
  EXPECT_EQ(source.GetChannels(), c.channels);
  EXPECT_EQ(source.GetSourceChannels(), c.channels);
  // Wider codings report their bits; Read still gives their top 16.
  EXPECT_EQ(source.GetBitsPerSample(), source.GetSampleFormat().bits);
  const Decoded got = ReadAll(source);
  EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
  EXPECT_EQ(got.ShortBlocks(), 0);  // every block but the last is full

  ASSERT_EQ(got.samples.size(), expected.samples.size());
  ASSERT_EQ(got.samples.size(), static_cast<size_t>(frames * c.channels));
  for (size_t i = 0; i < got.samples.size(); ++i)
    ASSERT_LE(std::abs(got.samples[i] - expected.samples[i]), c.coding.tolerance)
        << "first difference at sample " << i;
}

INSTANTIATE_TEST_SUITE_P(AllCodings, AuMatchesSndfile, testing::ValuesIn(AllCases()), CaseName);

// Every byte value of the 8-bit codings, in both byte orders.
TEST(AuEightBitCodings, EveryByteMatchesSndfile) {
  std::vector<uint8_t> data(256);
  for (int i = 0; i < 256; ++i) {
    data[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  }
  TempDir dir;
  for (uint32_t encoding : {1u, 2u, 27u}) {
    for (bool big : {true, false}) {
      const std::string path = dir.File("bytes" + std::to_string(encoding) + ".au");
      WriteFile(path, AuFile(big, encoding, 8000, 1, data));
      const DecodedAudio expected = ReadWithSndfile(path);
      AuSource source;
      ASSERT_TRUE(source.Open(path, 0));
      EXPECT_EQ(ReadAll(source).samples, expected.samples) << "encoding " << encoding;
    }
  }
}

// All 65,536 values of 16-bit linear, in both byte orders.
TEST(AuLinear16, EveryValueInBothByteOrders) {
  TempDir dir;
  for (bool big : {true, false}) {
    std::vector<uint8_t> data;
    for (int v = -32768; v <= 32767; ++v) PutInt(data, static_cast<uint16_t>(v), 2, big);
    const std::string path = dir.File(big ? "be.au" : "le.au");
    WriteFile(path, AuFile(big, 3, 8000, 1, data));
    AuSource source;
    ASSERT_TRUE(source.Open(path, 0));
    const Decoded got = ReadAll(source);
    ASSERT_EQ(got.samples.size(), 65536u);
    for (int v = -32768; v <= 32767; ++v) {
      ASSERT_EQ(got.samples[static_cast<size_t>(v + 32768)], v);
    }
  }
}

}  // namespace
}  // namespace quillo::test
