// The AU reader as a source: block sizes, progress, duration and bit rate,
// channel folding, float clamping and its life cycle.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "backends/files/AuSource.h"
#include "engine/media/Downmix.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples, bool bigEndian) {
  std::vector<uint8_t> out;
  for (int16_t s : samples) PutInt(out, static_cast<uint16_t>(s), 2, bigEndian);
  return out;
}

std::vector<int16_t> RandomSamples(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> value(-32768, 32767);
  std::vector<int16_t> out(count);
  for (int16_t& s : out) {
    s = static_cast<int16_t>(value(random));
  }
  return out;
}

TEST(AuSource, OneSecondOfMono16BitInBothByteOrders) {
  const std::vector<int16_t> samples = RandomSamples(8000, 1);
  TempDir dir;
  std::vector<int16_t> decoded[2];
  for (bool big : {true, false}) {
    const std::string path = dir.File(big ? "be.snd" : "le.snd");
    WriteFile(path, AuFile(big, 3, 8000, 1, Pcm16(samples, big)));
    AuSource source;
    ASSERT_TRUE(source.Open(path, 44100));
    EXPECT_EQ(source.GetDurationSeconds(), 1);
    EXPECT_EQ(source.GetBitRateKbps(), 128);
    EXPECT_EQ(source.GetSampleRate(), 8000);
    EXPECT_EQ(source.GetChannels(), 1);
    EXPECT_EQ(source.GetSourceChannels(), 1);
    EXPECT_EQ(source.GetBitsPerSample(), 16);
    EXPECT_EQ(source.HasAudioStream(), 1);
    EXPECT_EQ(source.GetProgressTotal(), 16000u);
    EXPECT_EQ(source.GetProgressPosition(), 0u);
    TagInfo tags;
    EXPECT_FALSE(source.ReadTags(tags));

    std::vector<int16_t> left(kMaxBlockFrames);
    ASSERT_EQ(source.Read(left.data(), nullptr), kMaxBlockFrames);
    EXPECT_EQ(source.GetProgressPosition(), 2304u);
    EXPECT_TRUE(std::equal(left.begin(), left.end(), samples.begin()));
    const Decoded rest = ReadAll(source);
    EXPECT_EQ(source.GetProgressPosition(), 16000u);
    decoded[big ? 0 : 1] = std::vector<int16_t>(samples.begin(), samples.begin() + kMaxBlockFrames);
    decoded[big ? 0 : 1].insert(decoded[big ? 0 : 1].end(), rest.samples.begin(),
                                rest.samples.end());
    EXPECT_EQ(rest.blocks.back(), 8000 - 6 * kMaxBlockFrames);
  }
  EXPECT_EQ(decoded[0], samples);
  EXPECT_EQ(decoded[1], samples);
}

TEST(AuSource, DurationAndBitRateOfShortAndOddFiles) {
  TempDir dir;
  // 1.5 s of 44.1 kHz stereo: whole seconds 1, the bit rate from the size.
  const std::string longer = dir.File("long.au");
  WriteFile(longer, AuFile(true, 3, 44100, 2, std::vector<uint8_t>(44100 * 6, 0)));
  AuSource source;
  ASSERT_TRUE(source.Open(longer, 0));
  EXPECT_EQ(source.GetDurationSeconds(), 1);
  EXPECT_EQ(source.GetBitRateKbps(), 44100 * 6 / 125);

  // Under a second: the nominal rate from bits, channels and sample rate.
  const std::string brief = dir.File("brief.au");
  WriteFile(brief, AuFile(true, 1, 8000, 1, std::vector<uint8_t>(100, 0xFF)));
  ASSERT_TRUE(source.Open(brief, 0));
  EXPECT_EQ(source.GetDurationSeconds(), 0);
  EXPECT_EQ(source.GetBitRateKbps(), 64);

  // An empty data section opens and ends at once.
  const std::string empty = dir.File("empty.au");
  WriteFile(empty, AuFile(true, 3, 8000, 2, {}));
  ASSERT_TRUE(source.Open(empty, 0));
  EXPECT_EQ(source.GetDurationSeconds(), 0);
  EXPECT_EQ(ReadAll(source).blocks.size(), 0u);
}

TEST(AuSource, DataSizeUnknownOrWrong) {
  const std::vector<int16_t> samples = RandomSamples(3001, 2);
  const std::vector<uint8_t> data = Pcm16(samples, true);
  TempDir dir;
  AuSource source;
  // The file `name`: a header declaring `dataSize` bytes, then all the data.
  const auto declaring = [&](const std::string& name, uint32_t dataSize) {
    std::vector<uint8_t> file = AuHeaderBytes(true, 24, dataSize, 3, 8000, 1);
    file.insert(file.end(), data.begin(), data.end());
    WriteFile(dir.File(name), file);
    return dir.File(name);
  };

  // Unknown size: the data runs to the end of the file.
  ASSERT_TRUE(source.Open(declaring("unknown.au", 0xFFFFFFFFu), 0));
  EXPECT_EQ(source.GetProgressTotal(), data.size());
  EXPECT_EQ(ReadAll(source).samples, samples);

  // Declared larger than the file: what is there is delivered, and the
  // progress still reaches its total.
  ASSERT_TRUE(source.Open(declaring("truncated.au", 1000000), 0));
  EXPECT_EQ(source.GetProgressTotal(), data.size());
  EXPECT_EQ(ReadAll(source).samples, samples);
  EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());

  // Declared smaller, with a half sample at its end: the trailing bytes are
  // not audio and the partial frame is dropped.
  ASSERT_TRUE(source.Open(declaring("trailing.au", 2001), 0));
  EXPECT_EQ(ReadAll(source).samples, std::vector<int16_t>(samples.begin(), samples.begin() + 1000));
}

TEST(AuSource, G711SpotValues) {
  TempDir dir;
  AuSource source;
  WriteFile(dir.File("alaw.au"), AuFile(true, 27, 8000, 1, {0xD5, 0x55, 0x2A, 0xAA}));
  ASSERT_TRUE(source.Open(dir.File("alaw.au"), 0));
  EXPECT_EQ(ReadAll(source).samples, (std::vector<int16_t>{8, -8, -32256, 32256}));
  WriteFile(dir.File("ulaw.au"), AuFile(true, 1, 8000, 1, {0xFF, 0x7F, 0x00, 0x80}));
  ASSERT_TRUE(source.Open(dir.File("ulaw.au"), 0));
  EXPECT_EQ(ReadAll(source).samples, (std::vector<int16_t>{0, 0, -32124, 32124}));
}

TEST(AuSource, G721MonoReadsHalfABytePerFrame) {
  TempDir dir;
  const std::string path = dir.File("g721.au");
  WriteFile(path, AuFile(true, 23, 8000, 1, std::vector<uint8_t>(576 * 3 + 10, 0x5A)));
  AuSource source;
  ASSERT_TRUE(source.Open(path, 0));
  std::vector<int16_t> left(kMaxBlockFrames);
  for (uint64_t block = 1; block <= 3; ++block) {
    ASSERT_EQ(source.Read(left.data(), nullptr), kMaxBlockFrames);
    EXPECT_EQ(source.GetProgressPosition(), 576 * block);
  }
  EXPECT_EQ(source.Read(left.data(), nullptr), 20);
  EXPECT_EQ(source.Read(left.data(), nullptr), 0);
}

// Frames whose channels all differ, near full scale so the fold clamps.
std::vector<int16_t> MultichannelSamples(int channels, int frames) {
  std::vector<int16_t> out = RandomSamples(static_cast<size_t>(channels * frames), 9);
  for (int c = 0; c < channels; ++c) {
    out[static_cast<size_t>(c)] = 32767;  // the first frame overflows the fold
  }
  return out;
}

TEST(AuSource, FoldsSixAndTwelveChannelsToStereo) {
  for (int channels : {3, 6, 8, 12}) {
    const int frames = kMaxBlockFrames + 77;
    const std::vector<int16_t> samples = MultichannelSamples(channels, frames);
    TempDir dir;
    const std::string path = dir.File("multi.au");
    WriteFile(path,
              AuFile(false, 3, 48000, static_cast<uint32_t>(channels), Pcm16(samples, false)));
    AuSource source;
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetChannels(), 2);
    EXPECT_EQ(source.GetSourceChannels(), channels);
    EXPECT_EQ(source.GetProgressTotal(), samples.size() * 2);

    std::vector<int16_t> expected;
    const int mixed = std::min(channels, 8);
    for (int f = 0; f < frames; ++f) {
      int16_t l = 0;
      int16_t r = 0;
      DownmixToStereo(mixed, &samples[static_cast<size_t>(f * channels)], l, r);
      expected.push_back(l);
      expected.push_back(r);
    }
    const Decoded got = ReadAll(source);
    EXPECT_EQ(got.samples, expected) << channels << " channels";
    EXPECT_EQ(got.blocks, (std::vector<int>{kMaxBlockFrames, 77})) << channels << " channels";
  }
}

TEST(AuSource, FloatAndDoubleBeyondFullScaleAreClamped) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<double> values = {0.0,  0.5,  -0.5,  1.0, -1.0, 1.5,
                                      -1.5, 1e10, -1e10, inf, -inf, nan};
  const std::vector<int16_t> expected = {0,      16383, -16384, 32767, -32768, 32767,
                                         -32768, 32767, -32768, 32767, -32768, 0};
  TempDir dir;
  for (bool big : {true, false}) {
    for (bool isDouble : {false, true}) {
      std::vector<uint8_t> data;
      for (double v : values) {
        const uint64_t bits =
            isDouble ? std::bit_cast<uint64_t>(v) : std::bit_cast<uint32_t>(static_cast<float>(v));
        PutInt(data, bits, isDouble ? 8 : 4, big);
      }
      const std::string path = dir.File("float.au");
      WriteFile(path, AuFile(big, isDouble ? 7 : 6, 8000, 1, data));
      AuSource source;
      ASSERT_TRUE(source.Open(path, 0));
      EXPECT_EQ(ReadAll(source).samples, expected) << (isDouble ? "double" : "float");
    }
  }
}

TEST(AuSource, ReopenAndCloseStartOver) {
  TempDir dir;
  const std::vector<int16_t> stereo = RandomSamples(4000, 5);
  const std::vector<int16_t> mono = RandomSamples(1500, 6);
  WriteFile(dir.File("stereo.au"), AuFile(true, 3, 44100, 2, Pcm16(stereo, true)));
  WriteFile(dir.File("mono.au"), AuFile(true, 3, 11025, 1, Pcm16(mono, true)));

  AuSource source;
  ASSERT_TRUE(source.Open(dir.File("stereo.au"), 0));
  std::vector<int16_t> left(kMaxBlockFrames);
  std::vector<int16_t> right(kMaxBlockFrames);
  ASSERT_EQ(source.Read(left.data(), right.data()), kMaxBlockFrames);

  // A second Open without Close starts the new file from its beginning.
  ASSERT_TRUE(source.Open(dir.File("mono.au"), 0));
  EXPECT_EQ(source.GetChannels(), 1);
  EXPECT_EQ(source.GetSampleRate(), 11025);
  EXPECT_EQ(source.GetProgressPosition(), 0u);
  EXPECT_EQ(ReadAll(source).samples, mono);

  source.Close();
  EXPECT_EQ(source.GetChannels(), 0);
  EXPECT_EQ(source.GetSampleRate(), 0);
  EXPECT_EQ(source.GetSourceChannels(), 0);
  EXPECT_EQ(source.GetDurationSeconds(), 0);
  EXPECT_EQ(source.GetBitRateKbps(), 0);
  EXPECT_EQ(source.GetProgressTotal(), 0u);
  EXPECT_EQ(source.Read(left.data(), right.data()), 0);

  // A failed Open leaves nothing of the previous file behind.
  ASSERT_TRUE(source.Open(dir.File("stereo.au"), 0));
  EXPECT_FALSE(source.Open(dir.File("missing.au"), 0));
  EXPECT_EQ(source.GetChannels(), 0);
  EXPECT_EQ(source.Read(left.data(), right.data()), 0);
  EXPECT_FALSE(source.Open(dir.path().string(), 0));  // a folder
}

}  // namespace
}  // namespace quillo::test
