// WAV outputs below 4 GiB are plain RIFF WAVE; larger ones are RF64, whose
// 64-bit sizes give every reader the true length.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "backends/ffmpeg/FrameworkSink.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "tests/backends/ffmpeg/SinkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// The RIFF form's two tags: "RIFFWAVE" or "RF64WAVE".
std::string Magic(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char header[12] = {};
  in.read(header, sizeof header);
  return std::string(header, 4) + std::string(header + 8, 4);
}

TEST(FrameworkSinkWavSizeTest, SmallWavStaysPlainRiff) {
  TempDir dir;
  for (int32_t codec : {0x10000, 0x15001, 0x1100B}) {  // PCM, MP3 and G.726 in WAV
    const std::string path = dir.File("small" + std::to_string(codec) + ".wav");
    ASSERT_TRUE(EncodeWithSink({path, "wav", codec, 8000, 1, 32000}, Sine(8000, 1, 8000, 440, 0.5)))
        << codec;
    EXPECT_EQ(Magic(path), "RIFFWAVE") << codec;
    EXPECT_EQ(DecodeWithFfmpeg(path).size() / 8000, 1u) << codec;
  }
}

// Removes a file when the test ends, however it ends.
struct RemovedAtEnd {
  std::string path;
  ~RemovedAtEnd() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

// 16-bit mono at 8000 Hz, 4 GiB and 2 MiB of data: silence, then a last
// second of 1 kHz that a reader stopping at 4 GiB would lose.
TEST(FrameworkSinkWavSizeTest, WavOfFourGibibytesAndMoreIsRf64) {
  constexpr int kRate = 8000;
  constexpr int64_t kFrames = (int64_t{1} << 31) + (int64_t{1} << 20);
  const std::filesystem::space_info space = std::filesystem::space(".");
  if (space.available < 10'000'000'000ull) GTEST_SKIP() << "less than 10 GB free here";
  // In the working folder (the build tree under ctest), not in /tmp.
  const RemovedAtEnd file{
      (std::filesystem::current_path() / ("quillo-large-" + std::to_string(getpid()) + ".wav"))
          .string()};
  const std::string& path = file.path;

  auto sink = MakeFrameworkSink();
  Configure(*sink, {path, "wav", 0x10000, kRate, 1});
  ASSERT_TRUE(sink->Open());
  const std::vector<int16_t> silence(1 << 22, 0);
  const std::vector<int16_t> tone = Sine(kRate, 1, kRate, 1000, 0.5);
  int64_t left = kFrames - kRate;
  while (left > 0) {
    const int n = static_cast<int>(std::min<int64_t>(left, static_cast<int64_t>(silence.size())));
    ASSERT_TRUE(sink->Write(silence.data(), nullptr, n));
    left -= n;
  }
  ASSERT_TRUE(sink->Write(tone.data(), nullptr, kRate));
  ASSERT_TRUE(sink->Close()) << sink->ErrorText();

  EXPECT_EQ(Magic(path), "RF64WAVE");
  EXPECT_EQ(ProbeEntry(path, "stream=duration_ts", "duration_ts"), std::to_string(kFrames));
  EXPECT_NEAR(std::stod(ProbeEntry(path, "format=duration", "duration")),
              static_cast<double>(kFrames) / kRate, 0.001);
  FrameworkSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetDurationSeconds(), kFrames / kRate);

  // The tone at the end, past 4 GiB, reads back sample for sample.
  const std::string raw =
      Capture("ffmpeg -v error -sseof -0.5 -i " + ShellQuote(path) + " -f s16le -c:a pcm_s16le -");
  ASSERT_EQ(raw.size(), static_cast<size_t>(kRate));  // half a second of 16-bit
  std::vector<int16_t> tail(raw.size() / 2);
  std::memcpy(tail.data(), raw.data(), raw.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), tone.end() - kRate / 2));
}

}  // namespace
}  // namespace quillo::test
