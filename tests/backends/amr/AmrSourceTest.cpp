// The AMR reader: blocks cut from whole frames, the band taken from the
// magic, heads it refuses, damage it skips, and files other encoders made.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "backends/amr/AmrSource.h"
#include "tests/backends/amr/AmrTestFiles.h"
#include "tests/backends/ffmpeg/SinkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

using namespace std::string_literals;

TEST(AmrSource, BlocksAreFullUntilTheLastAndCarryTheRestOfAFrame) {
  struct Case {
    const AmrStorageFormat* format;
    int mode;
    int frames;
    std::vector<int> blocks;
  };
  // 1152 samples are 7 narrow-band frames and 32 samples of an eighth, or 3
  // wide-band frames and 192 samples of a fourth; the rest opens the next block.
  const Case cases[] = {
      {&kAmrNarrowBand, 7, 23, {1152, 1152, 1152, 224}},
      {&kAmrWideBand, 8, 23, {1152, 1152, 1152, 1152, 1152, 1152, 448}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format->sampleRate);
    // Named ".amr" whatever the band: the magic decides.
    const std::string path = dir.File("speech.amr");
    const int rate = c.format->sampleRate;
    WriteAmr(path, *c.format, c.mode, Sine(rate, 1, c.frames * c.format->frameSamples, 440, 0.5));
    AmrSource source;
    ASSERT_TRUE(source.Open(path, 44100));
    EXPECT_EQ(source.GetSampleRate(), rate);
    EXPECT_EQ(source.GetChannels(), 1);
    EXPECT_EQ(source.GetSourceChannels(), 1);
    EXPECT_EQ(source.GetBitsPerSample(), 16);
    EXPECT_EQ(source.GetDurationSeconds(), 0);
    const uint64_t size = std::filesystem::file_size(path);
    EXPECT_EQ(source.GetProgressTotal(), size);
    EXPECT_EQ(source.GetProgressPosition(), c.format->magic.size());

    const SourceReads reads = ReadToEnd(source);
    EXPECT_EQ(reads.blocks, c.blocks);
    EXPECT_EQ(source.GetProgressPosition(), size);
    // Block for block, the samples are the decoder's frames in order.
    EXPECT_TRUE(reads.samples == DecodeFrames(*c.format, path));
    EXPECT_GT(MiddleRms(reads.samples, 1), 0.2 * 16384);
    source.Close();
    EXPECT_EQ(source.GetSampleRate(), 0);
    EXPECT_EQ(source.Read(std::vector<int16_t>(kMaxBlockFrames).data(), nullptr), 0);
  }
}

TEST(AmrSource, RefusesWhatIsNotAnAmrFile) {
  TempDir dir;
  const std::string frame(13, '\0');
  const std::pair<std::string, std::string> heads[] = {
      {"empty", ""s},
      {"magic alone", "#!AMR\n"s},
      {"eight bytes", "#!AMR\n\x3c\x00"s},
      {"wide-band magic cut short", "#!AMR-WB"s},
      {"multichannel", "#!AMR_MC1.0\n\x00\x00\x00\x01"s + frame},
      {"lower case", "#!amr\n"s + frame},
      {"wave", "RIFF\x24\x00\x00\x00WAVEfmt "s},
  };
  for (const auto& [name, bytes] : heads) {
    const std::string path = dir.File("x.amr");
    WriteFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    AmrSource source;
    EXPECT_FALSE(source.Open(path, 8000)) << name;
  }
  AmrSource source;
  EXPECT_FALSE(source.Open(dir.File("missing.amr"), 8000));
  EXPECT_FALSE(source.Open(dir.path().string(), 8000));
}

TEST(AmrSource, SkipsDamageKeepsTheTimeOfOddFramesAndStopsAtACutFrame) {
  TempDir dir;
  const std::string clean = dir.File("clean.amr");
  WriteAmr(clean, kAmrNarrowBand, 7, Sine(8000, 1, 10 * 160, 440, 0.5));
  std::vector<uint8_t> bytes = ReadFile(clean);
  ASSERT_EQ(bytes.size(), 6u + 10 * 32);
  const auto frameAt = [&bytes](int n) { return bytes.begin() + 6 + 32 * n; };
  // Between frames 6 and 7: a frame without data, a reserved frame type
  // (each lasts a frame), and three bytes that cannot start a frame.
  bytes.insert(frameAt(7), {0x7C, 0x64, 0x80, 0xFF, 0x7E});
  // Frames 2 and 3 become bad frames (quality bit clear): decoded, concealed.
  bytes[6 + 32 * 2] &= ~0x04;
  bytes[6 + 32 * 3] &= ~0x04;
  bytes.resize(bytes.size() - 5);  // the last frame is cut short
  const std::string damaged = dir.File("damaged.amr");
  WriteFile(damaged, bytes);

  AmrSource source;
  ASSERT_TRUE(source.Open(damaged, 8000));
  const SourceReads reads = ReadToEnd(source);
  EXPECT_EQ(reads.samples.size(), (9u + 2) * 160);
  EXPECT_EQ(source.GetProgressPosition(), bytes.size() - 27);
  // The frames before the damage decode as in the clean file.
  const std::vector<int16_t> reference = DecodeFrames(kAmrNarrowBand, clean);
  EXPECT_TRUE(
      std::equal(reads.samples.begin(), reads.samples.begin() + 2 * 160, reference.begin()));
}

// A file of a 440 Hz tone at `level` RMS decodes to as many samples as
// FFmpeg's decoder gives, and to that tone. (FFmpeg's own decoder is no
// sample reference: it shapes the level and phase of a pure tone otherwise.)
void ExpectTheTone(const std::string& path, int rate, double level) {
  AmrSource source;
  ASSERT_TRUE(source.Open(path, 44100)) << path;
  EXPECT_EQ(source.GetSampleRate(), rate);
  const std::vector<int16_t> ours = ReadToEnd(source).samples;
  EXPECT_EQ(ours.size(), DecodeWithFfmpeg(path).size()) << path;
  EXPECT_NEAR(CrossingsPerSecond(ours, 1, rate), 880, 20) << path;
  EXPECT_NEAR(MiddleRms(ours, 1) / level, 1.0, 0.25) << path;
}

TEST(AmrSource, DecodesFilesOfOtherEncodersAndMuxers) {
  TempDir dir;
  const std::string wav = dir.File("tone.wav");
  ASSERT_EQ(test::Run("ffmpeg -v error -y -f lavfi -i "
                      "'aevalsrc=0.3*sin(2*PI*440*t):sample_rate=8000:duration=2' " +
                      ShellQuote(wav)),
            0);
  const double level = 0.3 * 32768 / std::sqrt(2.0);
  // opencore's encoder through sox, at 12.2 kbit/s with DTX.
  const std::string sox = dir.File("sox.amr");
  ASSERT_EQ(
      test::Run("sox " + ShellQuote(wav) + " -t amr-nb -C 7 " + ShellQuote(sox) + " 2>/dev/null"),
      0);
  ExpectTheTone(sox, 8000, level);
  // FFmpeg's muxer: the sox file, and a wide-band file of ours, rewritten.
  const std::string remuxed = dir.File("ffmpeg.amr");
  ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + ShellQuote(sox) + " -c copy -f amr " +
                      ShellQuote(remuxed)),
            0);
  ExpectTheTone(remuxed, 8000, level);
  const std::string wide = dir.File("ours.awb");
  WriteAmr(wide, kAmrWideBand, 2, Sine(16000, 1, 100 * 320, 440, 0.3));
  const std::string wideRemuxed = dir.File("ffmpeg.awb");
  ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + ShellQuote(wide) + " -c copy -f amr " +
                      ShellQuote(wideRemuxed)),
            0);
  ExpectTheTone(wideRemuxed, 16000, level);
}

}  // namespace
}  // namespace quillo::test
