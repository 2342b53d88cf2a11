// Decoding through FrameworkSource checked sample by sample: each sample
// format reaches the converter from a real decoder, and blocks cross every
// decoded frame boundary without losing or repeating a sample.
#include <gtest/gtest.h>

#include "backends/ffmpeg/FrameworkSource.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::Decoded;
using test::MakeMedia;
using test::ShellQuote;

constexpr int kFrames = 70001;  // every 16-bit value on the left, odd length

class FrameworkSourceFormatsTest : public test::FolderTest {
 protected:
  void SetUp() override {
    pattern_ = test::TestPattern(kFrames);
    raw_ = dir_.File("pattern.raw");
    test::WriteRawPcm(raw_, pattern_);
  }

  // Encodes the pattern with `codecArguments` into `name` and decodes it.
  Decoded Decode(const std::string& name, const std::string& codecArguments) {
    const std::string path = dir_.File(name);
    EXPECT_TRUE(
        MakeMedia("-f s16le -ar 44100 -ac 2 -i " + ShellQuote(raw_) + " " + codecArguments, path))
        << name;
    FrameworkSource source;
    EXPECT_TRUE(source.Open(path, 0)) << name;
    EXPECT_EQ(source.GetSampleRate(), 44100) << name;
    EXPECT_EQ(source.GetChannels(), 2) << name;
    EXPECT_EQ(source.GetSourceChannels(), 2) << name;
    // Wider formats report their bits; Read still gives their top 16.
    EXPECT_EQ(source.GetBitsPerSample(), source.GetSampleFormat().bits) << name;
    return test::ReadAll(source);
  }

  std::string raw_;
  std::vector<int16_t> pattern_;
};

TEST_F(FrameworkSourceFormatsTest, LosslessFormatsGiveBackEverySample) {
  struct Case {
    const char* name;
    const char* arguments;  // decoder output format in the comment
  };
  const Case cases[] = {
      {"s16.wav", "-c:a pcm_s16le"},                 // s16
      {"s32.wav", "-c:a pcm_s32le"},                 // s32
      {"f32.wav", "-c:a pcm_f32le"},                 // flt
      {"f64.wav", "-c:a pcm_f64le"},                 // dbl
      {"s64.nut", "-c:a pcm_s64le"},                 // s64
      {"s16p.wv", "-c:a wavpack -sample_fmt s16p"},  // s16p
      {"s32p.wv", "-c:a wavpack -sample_fmt s32p"},  // s32p
      {"fltp.wv", "-c:a wavpack -sample_fmt fltp"},  // fltp
      {"alac.m4a", "-c:a alac"},                     // s16p from another decoder
      {"flac.flac", "-c:a flac"},                    // s16, 4608-frame blocks
      {"s24.flac", "-c:a flac -sample_fmt s32"},     // s32 holding 24 bits
  };
  for (const Case& c : cases) {
    const Decoded decoded = Decode(c.name, c.arguments);
    ASSERT_EQ(decoded.Frames(), static_cast<size_t>(kFrames)) << c.name;
    EXPECT_EQ(decoded.samples, pattern_) << c.name;
    EXPECT_EQ(decoded.ShortBlocks(), 0) << c.name;
    EXPECT_EQ(decoded.blocks.size(), size_t{(kFrames + kMaxBlockFrames - 1) / kMaxBlockFrames})
        << c.name;
  }
}

TEST_F(FrameworkSourceFormatsTest, UnsignedEightBitKeepsTheTopByte) {
  const Decoded decoded = Decode("u8.wav", "-c:a pcm_u8");
  ASSERT_EQ(decoded.Frames(), static_cast<size_t>(kFrames));
  for (size_t i = 0; i < pattern_.size(); ++i)
    ASSERT_EQ(decoded.samples[i], static_cast<int16_t>((pattern_[i] >> 8) * 256)) << i;
}

TEST_F(FrameworkSourceFormatsTest, FloatFullScaleClampsAtBothEnds) {
  // Exact planar and packed float: 1.0, -1.0, then beyond full scale.
  const std::pair<const char*, const char*> files[] = {
      {"scale.wv", "-c:a wavpack -sample_fmt fltp"}, {"scale.wav", "-c:a pcm_f32le"}};
  for (const auto& [name, arguments] : files) {
    const std::string path = dir_.File(name);
    ASSERT_TRUE(
        MakeMedia("-f lavfi -i \"aevalsrc='if(lt(n,100),1,if(lt(n,200),-1,if(lt(n,300),1.5,"
                  "-2)))':s=8000:d=0.05\" " +
                      std::string(arguments),
                  path));
    FrameworkSource source;
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetChannels(), 1);
    const Decoded decoded = test::ReadAll(source);
    ASSERT_EQ(decoded.Frames(), 400u) << arguments;
    EXPECT_FALSE(decoded.rightTouched);
    for (int i = 0; i < 400; ++i) {
      const int expected = (i < 100 || (i >= 200 && i < 300)) ? 32767 : -32768;
      ASSERT_EQ(decoded.samples[i], expected) << arguments << " frame " << i;
    }
  }
}

TEST_F(FrameworkSourceFormatsTest, MonoLeavesTheRightBufferAlone) {
  const std::string path = dir_.File("mono.flac");
  ASSERT_TRUE(MakeMedia(
      "-f s16le -ar 22050 -ac 2 -i " + ShellQuote(raw_) + " -af \"pan=mono|c0=c0\" -c:a flac",
      path));
  FrameworkSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetChannels(), 1);
  EXPECT_EQ(source.GetSourceChannels(), 1);
  EXPECT_EQ(source.GetSampleRate(), 22050);
  // The engine hands a real right buffer here on purpose: it must stay untouched.
  const Decoded decoded = test::ReadAll(source);
  EXPECT_FALSE(decoded.rightTouched);
  ASSERT_EQ(decoded.Frames(), static_cast<size_t>(kFrames));
  for (int i = 0; i < kFrames; ++i) ASSERT_EQ(decoded.samples[i], pattern_[2 * i]) << i;
}

TEST_F(FrameworkSourceFormatsTest, ReopensAndRestartsAfterClose) {
  const std::string path = dir_.File("again.wav");
  ASSERT_TRUE(
      MakeMedia("-f s16le -ar 44100 -ac 2 -i " + ShellQuote(raw_) + " -c:a pcm_s16le", path));
  FrameworkSource source;
  ASSERT_TRUE(source.Open(path, 0));
  int16_t left[kMaxBlockFrames], right[kMaxBlockFrames];
  ASSERT_EQ(source.Read(left, right), kMaxBlockFrames);
  ASSERT_TRUE(source.Open(path, 0));  // reopening starts from the beginning
  EXPECT_EQ(test::ReadAll(source).samples, pattern_);
  EXPECT_EQ(source.Read(left, right), 0);  // and stays at the end
  source.Close();
  EXPECT_EQ(source.GetSampleRate(), 0);
  EXPECT_EQ(source.Read(left, right), 0);
}

}  // namespace
}  // namespace quillo
