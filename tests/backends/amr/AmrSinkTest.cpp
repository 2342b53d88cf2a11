// The AMR writer: frames cut the same whatever the block sizes, the last one
// completed with silence, the modes of both bands, and failed writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/amr/AmrSink.h"
#include "tests/backends/amr/AmrTestFiles.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

SinkOptions Options(bool narrow, int mode, bool dtx = false) {
  SinkOptions options;
  options.narrowBand = narrow ? 1 : 0;
  options.dtx = dtx ? 1 : 0;
  options.amrMode = narrow ? mode : 6;
  options.wideBandMode = narrow ? 6 : mode;
  return options;
}

// Writes `samples` in blocks of the sizes `blocks` gives, in turn.
bool WriteInBlocks(MediaSink& sink, const std::vector<int16_t>& samples,
                   const std::vector<int>& blocks) {
  size_t at = 0;
  for (size_t i = 0; at < samples.size(); ++i) {
    const int count = std::min<int>(blocks[i % blocks.size()], samples.size() - at);
    if (!sink.Write(samples.data() + at, nullptr, count)) return false;
    at += count;
  }
  return true;
}

std::vector<uint8_t> Encode(const std::string& path, const SinkOptions& options,
                            const std::vector<int16_t>& samples, const std::vector<int>& blocks) {
  AmrSink sink;
  sink.SetCodecOptions(options);
  sink.SetPath(path);
  EXPECT_TRUE(sink.Open()) << sink.ErrorText();
  EXPECT_TRUE(WriteInBlocks(sink, samples, blocks));
  EXPECT_TRUE(sink.Close()) << sink.ErrorText();
  return ReadFile(path);
}

TEST(AmrSink, BlockSizesDoNotChangeTheFileAndTheLastFrameIsPaddedWithSilence) {
  TempDir dir;
  const std::string path = dir.File("a.amr");
  const std::vector<std::vector<int>> blockSizes = {{100}, {1}, {159}, {161}, {319}, {1152, 37}};
  // The narrow-band encoder's output also depends on the encoders that ran
  // before it in the process, so only its frame count can be compared: 300
  // samples in blocks of 100 are one frame at the second block and 140
  // samples left at Close, 1000 samples are 6 frames and 40 left.
  for (const int total : {300, 1000, 320, 1121}) {
    const std::vector<int16_t> samples = Sine(8000, 1, total, 440, 0.5);
    const size_t frames = (total + 159) / 160;
    for (const std::vector<int>& blocks : blockSizes) {
      ASSERT_EQ(Encode(path, Options(true, 7), samples, blocks).size(), 6 + frames * 32) << total;
      EXPECT_EQ(DecodeFrames(kAmrNarrowBand, path).size(), frames * 160);
    }
  }
  // The wide-band encoder repeats itself: whatever the block sizes, the same
  // file, and the same as with the last frame completed with zeros by hand.
  for (const int total : {300, 1000, 640, 2241}) {
    const std::vector<int16_t> samples = Sine(16000, 1, total, 440, 0.5);
    const std::vector<uint8_t> whole = Encode(path, Options(false, 8), samples, {total});
    const size_t frames = (total + 319) / 320;
    ASSERT_EQ(whole.size(), 9 + frames * 61) << total;
    for (const std::vector<int>& blocks : blockSizes) {
      EXPECT_TRUE(Encode(path, Options(false, 8), samples, blocks) == whole)
          << total << " in blocks of " << blocks[0];
    }
    std::vector<int16_t> padded = samples;
    padded.resize(frames * 320, 0);
    EXPECT_TRUE(Encode(path, Options(false, 8), padded, {320}) == whole) << total;
    EXPECT_EQ(DecodeFrames(kAmrWideBand, path).size(), padded.size());
  }
}

TEST(AmrSink, EachModeReachesTheEncoderAndAStoredModeOutOfRangeIsTheFallback) {
  TempDir dir;
  const std::string path = dir.File("m.amr");
  struct Case {
    bool narrow;
    int mode;
    int frameType;
  };
  std::vector<Case> cases;
  for (int mode = 0; mode < 8; ++mode) cases.push_back({true, mode, mode});
  for (int mode = 0; mode < 9; ++mode) cases.push_back({false, mode, mode});
  cases.insert(cases.end(), {{true, 8, 4}, {true, -1, 4}, {false, 9, 4}, {false, 1000, 4}});
  for (const Case& c : cases) {
    const AmrStorageFormat& format = c.narrow ? kAmrNarrowBand : kAmrWideBand;
    const std::vector<int16_t> samples =
        Sine(format.sampleRate, 1, 3 * format.frameSamples, 300, 0.5);
    const std::vector<uint8_t> bytes = Encode(path, Options(c.narrow, c.mode), samples, {1152});
    SCOPED_TRACE(std::to_string(c.narrow) + " mode " + std::to_string(c.mode));
    ASSERT_EQ(bytes.size(), format.magic.size() + 3 * format.frameBytes[c.frameType]);
    EXPECT_TRUE(std::equal(format.magic.begin(), format.magic.end(), bytes.begin()));
    EXPECT_EQ(AmrFrameType(bytes[format.magic.size()]), c.frameType);
  }
}

TEST(AmrSink, FailuresAreReportedWithTheirReason) {
  const std::vector<int16_t> samples = Sine(8000, 1, 8000 * 20, 440, 0.5);
  if (std::filesystem::exists("/dev/full")) {
    // A full device: whether Write or Close notices first, the sink fails
    // with the system's reason and takes no more.
    AmrSink sink;
    sink.SetCodecOptions(Options(true, 7));
    sink.SetPath("/dev/full");
    ASSERT_TRUE(sink.Open()) << sink.ErrorText();
    const bool written = WriteInBlocks(sink, samples, {1152});
    EXPECT_FALSE(written && sink.Close());
    EXPECT_FALSE(sink.Write(samples.data(), nullptr, 160));
    sink.Close();
    EXPECT_NE(sink.ErrorText().find("No space left on device"), std::string::npos)
        << sink.ErrorText();
  }
  TempDir dir;
  AmrSink sink;
  sink.SetPath(dir.File("a.amr"));
  EXPECT_FALSE(sink.Open()) << "no band chosen";
  EXPECT_FALSE(sink.Write(samples.data(), nullptr, 160));
  sink.SetCodecOptions(Options(false, 2));
  sink.SetPath(dir.File("missing/a.amr"));
  EXPECT_FALSE(sink.Open());
  EXPECT_EQ(sink.ErrorText(), "No such file or directory");
}

}  // namespace
}  // namespace quillo::test
