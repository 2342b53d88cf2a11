// The AMR reader and writer: frames cut the same whatever the block sizes,
// blocks filled from whole frames, the band taken from the magic, heads that
// are refused, damage skipped, files of other encoders, failed writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/amr/AmrDecoder.h"
#include "backends/amr/AmrSink.h"
#include "backends/amr/AmrSource.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

using namespace std::string_literals;

SinkOptions Options(const AmrStorageFormat& format, int mode) {
  SinkOptions options;
  options.narrowBand = &format == &kAmrNarrowBand ? 1 : 0;
  options.amrMode = options.wideBandMode = mode;
  return options;
}

// Writes `samples` to an AMR sink in blocks of the sizes `blocks` gives, in
// turn; false when Open, a Write or Close failed.
bool Encode(AmrSink& sink, const std::string& path, const SinkOptions& options,
            const std::vector<int16_t>& samples, const std::vector<int>& blocks) {
  sink.SetCodecOptions(options);
  sink.SetPath(path);
  if (!sink.Open()) return false;
  bool ok = true;
  for (size_t at = 0, i = 0; ok && at < samples.size(); at += blocks[i++ % blocks.size()])
    ok = sink.Write(samples.data() + at, nullptr,
                    std::min<int>(blocks[i % blocks.size()], samples.size() - at));
  return sink.Close() && ok;
}

std::vector<uint8_t> EncodeFile(const std::string& path, const SinkOptions& options,
                                const std::vector<int16_t>& samples,
                                const std::vector<int>& blocks) {
  AmrSink sink;
  EXPECT_TRUE(Encode(sink, path, options, samples, blocks)) << sink.ErrorText();
  return ReadFile(path);
}

TEST(AmrSink, BlockSizesDoNotChangeTheFramesAndTheLastIsCompletedWithSilence) {
  TempDir dir;
  const std::string path = dir.File("a.amr");
  const std::vector<std::vector<int>> blockSizes = {{100}, {1}, {159}, {161}, {319}, {1152, 37}};
  // The narrow-band encoder's output also depends on the encoders that ran
  // before it, so only its frame count is compared: 300 samples in blocks of
  // 100 are one frame at the second block and 140 samples left for Close,
  // 1000 samples are 6 frames and 40 left.
  for (const int total : {300, 1000, 320}) {
    for (const std::vector<int>& blocks : blockSizes) {
      const auto bytes =
          EncodeFile(path, Options(kAmrNarrowBand, 7), Sine(8000, 1, total, 440, 0.5), blocks);
      EXPECT_EQ(bytes.size(), 6 + (total + 159) / 160 * 32u) << total << " by " << blocks[0];
    }
  }
  // The wide-band encoder repeats itself: whatever the block sizes, the same
  // file, and the same as with the last frame completed by hand with zeros.
  for (const int total : {300, 1000, 640}) {
    std::vector<int16_t> samples = Sine(16000, 1, total, 440, 0.5);
    const auto whole = EncodeFile(path, Options(kAmrWideBand, 8), samples, {total});
    ASSERT_EQ(whole.size(), 9 + (total + 319) / 320 * 61u);
    for (const std::vector<int>& blocks : blockSizes)
      EXPECT_TRUE(EncodeFile(path, Options(kAmrWideBand, 8), samples, blocks) == whole) << total;
    samples.resize((total + 319) / 320 * 320, 0);
    EXPECT_TRUE(EncodeFile(path, Options(kAmrWideBand, 8), samples, {320}) == whole) << total;
  }
  // A stored mode that names no mode of the band encodes with mode 4.
  for (const auto& [format, mode] : {std::pair{&kAmrNarrowBand, 8}, std::pair{&kAmrWideBand, -1}}) {
    const auto bytes = EncodeFile(path, Options(*format, mode), std::vector<int16_t>(320), {320});
    EXPECT_EQ(AmrFrameType(bytes.at(format->magic.size())), 4) << mode;
  }
}

TEST(AmrSink, AFullDeviceFailsWithTheSystemsReason) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  AmrSink sink;
  EXPECT_FALSE(Encode(sink, "/dev/full", Options(kAmrNarrowBand, 7),
                      Sine(8000, 1, 8000 * 20, 440, 0.5), {1152}));
  EXPECT_EQ(sink.ErrorText(), "No space left on device");
}

TEST(AmrSource, BlocksAreFullUntilTheLastAndCarryTheRestOfAFrame) {
  // 1152 samples are 7 narrow-band frames and 32 samples of an eighth, or 3
  // wide-band frames and 192 samples of a fourth; the rest opens the next
  // block. Both files are named ".amr": the magic decides the band.
  struct Case {
    const AmrStorageFormat* format;
    std::vector<int> blocks;
  };
  const Case cases[] = {{&kAmrNarrowBand, {1152, 1152, 1152, 224}},
                        {&kAmrWideBand, {1152, 1152, 1152, 1152, 1152, 1152, 448}}};
  TempDir dir;
  const std::string path = dir.File("speech.amr");
  for (const Case& c : cases) {
    const int rate = c.format->sampleRate;
    const std::vector<int16_t> tone = Sine(rate, 1, 23 * c.format->frameSamples, 440, 0.3);
    EncodeFile(path, Options(*c.format, 7), tone, {1152});
    AmrSource source;
    ASSERT_TRUE(source.Open(path, 44100));
    EXPECT_EQ(source.GetSampleRate(), rate);
    EXPECT_EQ(source.GetChannels(), 1);
    EXPECT_EQ(source.GetProgressTotal(), std::filesystem::file_size(path));
    const Decoded decoded = ReadAll(source);
    EXPECT_EQ(decoded.blocks, c.blocks);
    EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
    // Block for block, the decoder's frames in order.
    std::vector<int16_t> frames;
    const auto decoder = AmrDecoder::Init(*c.format, path);
    const int16_t* samples = nullptr;
    uint64_t position = 0;
    for (int n; (n = decoder->Decode(&samples, &position)) > 0;)
      frames.insert(frames.end(), samples, samples + n);
    EXPECT_TRUE(decoded.samples == frames) << rate;
  }
}

TEST(AmrSource, RefusesWhatIsNotAnAmrFileAndSkipsDamage) {
  TempDir dir;
  const std::string path = dir.File("x.amr");
  const std::string frame(13, '\0');
  for (const std::string& head : {""s, "#!AMR\n"s, "#!AMR\n\x3c\x00"s, "#!AMR-WB"s,
                                  "#!AMR_MC1.0\n\x00\x00\x00\x01"s + frame, "#!amr\n"s + frame}) {
    WriteFile(path, std::vector<uint8_t>(head.begin(), head.end()));
    EXPECT_FALSE(AmrSource().Open(path, 8000)) << head;
  }
  EXPECT_FALSE(AmrSource().Open(dir.path().string(), 8000));

  // Ten frames of 32 bytes. Before the eighth: a frame without data, one of
  // a reserved type and two more without data whose padding bits are set
  // (20 ms each); two frames lose their quality bit (concealed); the last is
  // cut short.
  std::vector<uint8_t> bytes =
      EncodeFile(path, Options(kAmrNarrowBand, 7), Sine(8000, 1, 1600, 440, 0.5), {1600});
  ASSERT_EQ(bytes.size(), 6u + 10 * 32);
  bytes.insert(bytes.begin() + 6 + 7 * 32, {0x7C, 0x64, 0xFF, 0x7E});
  bytes[6 + 2 * 32] &= ~0x04;
  bytes[6 + 3 * 32] &= ~0x04;
  bytes.resize(bytes.size() - 5);
  WriteFile(path, bytes);
  AmrSource source;
  ASSERT_TRUE(source.Open(path, 8000));
  EXPECT_EQ(ReadAll(source).samples.size(), (9u + 4) * 160);
  EXPECT_EQ(source.GetProgressPosition(), bytes.size() - 27);
}

TEST(AmrSource, FrameHeaderPaddingBitsAreIgnored) {
  // Speech in two modes of each band with the comfort-noise frames of
  // discontinuous transmission between words; the padding bits of every
  // frame header are then set, which must not change a sample.
  TempDir dir;
  for (const AmrStorageFormat* format : {&kAmrNarrowBand, &kAmrWideBand}) {
    for (const int mode : {0, 7}) {
      const std::string path = dir.File("clean.amr");
      const std::string padded = dir.File("padded.amr");
      SinkOptions options = Options(*format, mode);
      options.dtx = 1;
      const int frameSamples = format->frameSamples;
      std::vector<int16_t> speech = Sine(format->sampleRate, 1, 50 * frameSamples, 300, 0.4);
      std::fill(speech.begin() + 15 * frameSamples, speech.begin() + 35 * frameSamples, int16_t{0});
      std::vector<uint8_t> bytes = EncodeFile(path, options, speech, {1152});
      size_t frames = 0;
      for (size_t at = format->magic.size(); at < bytes.size(); ++frames) {
        const int type = AmrFrameType(bytes[at]);
        bytes[at] |= 0x83;
        at += format->frameBytes[static_cast<size_t>(type)];
      }
      ASSERT_EQ(frames, 50u);
      WriteFile(padded, bytes);

      AmrSource clean, withPadding;
      ASSERT_TRUE(clean.Open(path, 8000));
      ASSERT_TRUE(withPadding.Open(padded, 8000));
      const std::vector<int16_t> expected = ReadAll(clean).samples;
      EXPECT_EQ(expected.size(), speech.size());
      EXPECT_TRUE(ReadAll(withPadding).samples == expected) << format->magic << " mode " << mode;
      EXPECT_EQ(withPadding.GetProgressPosition(), bytes.size());
    }
  }
}

TEST(AmrSource, ReadsFilesOfOtherEncodersAndMuxers) {
  TempDir dir;
  const std::string wav = dir.File("tone.wav");
  ASSERT_EQ(test::Run("ffmpeg -v error -y -f lavfi -i "
                      "'aevalsrc=0.3*sin(2*PI*440*t):sample_rate=8000:duration=2' " +
                      ShellQuote(wav)),
            0);
  // opencore's encoder through sox, at 12.2 kbit/s; FFmpeg's muxer rewriting
  // that file and a wide-band file of ours.
  const std::string sox = dir.File("sox.amr"), remuxed = dir.File("ffmpeg.amr");
  const std::string ours = dir.File("ours.awb"), wideRemuxed = dir.File("ffmpeg.awb");
  ASSERT_EQ(test::Run("sox " + ShellQuote(wav) + " -t amr-nb -C 7 " + ShellQuote(sox)), 0);
  EncodeFile(ours, Options(kAmrWideBand, 2), Sine(16000, 1, 32000, 440, 0.3), {1152});
  for (const auto& [from, to] : {std::pair{sox, remuxed}, std::pair{ours, wideRemuxed}})
    ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + ShellQuote(from) + " -c copy -f amr " +
                        ShellQuote(to)),
              0);
  for (const std::string& path : {sox, remuxed, wideRemuxed}) {
    AmrSource source;
    ASSERT_TRUE(source.Open(path, 44100)) << path;
    const int rate = source.GetSampleRate();
    const std::vector<int16_t> decoded = ReadAll(source).samples;
    // As long as FFmpeg's decoding; FFmpeg's decoder is no sample reference
    // (it shapes the level and phase of a pure tone otherwise).
    EXPECT_EQ(decoded.size(), DecodeWithFfmpeg(path).size()) << path;
    EXPECT_EQ(decoded.size(), 2u * rate) << path;
    EXPECT_NEAR(CrossingsPerSecond(decoded, 1, rate), 880, 20) << path;
    EXPECT_NEAR(MiddleRms(decoded, 1) / (0.3 * 32768 / std::sqrt(2.0)), 1.0, 0.25) << path;
  }
}

}  // namespace
}  // namespace quillo::test
