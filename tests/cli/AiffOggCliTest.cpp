// AIFF and Ogg Vorbis sources through a whole conversion: an AIFF-C file
// with GSM that this program wrote comes back at its full length, and 5.1
// Vorbis folds to stereo by its speakers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

double Rms(const std::vector<int16_t>& samples, size_t first, size_t step) {
  double sum = 0;
  size_t count = 0;
  for (size_t i = first; i < samples.size(); i += step, ++count) sum += std::pow(samples[i], 2);
  return count ? std::sqrt(sum / static_cast<double>(count)) : 0;
}

TEST(AiffOggCli, GsmAiffWrittenHereComesBackAtFullLength) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  const std::string source = dir.File("tone.wav");
  test::MakeAudio(source, "sine=frequency=440:sample_rate=8000:duration=5", "-af volume=0.5");
  // The AIFF writer counts GSM frames, not samples, in its header.
  test::CliRun run = test::RunCli(
      "convert", {"-f", "aiff", "--codec", "GSM", "-d", dir.File("aiff"), source}, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  run = test::RunCli("convert", {"-f", "wav", "-d", dir.File("back"), dir.File("aiff/tone.aiff")},
                     config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const std::vector<int16_t> back = test::DecodeWithFfmpeg(dir.File("back/tone.wav"));
  EXPECT_EQ(back.size(), 5u * 8000u);
  // GSM is lossy: the tone's level survives, not its samples.
  EXPECT_NEAR(Rms(back, 0, 1), Rms(test::DecodeWithFfmpeg(source), 0, 1), 2000);
}

TEST(AiffOggCli, SurroundVorbisWithFrontRightOnlyLeavesTheLeftSilent) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  const std::string source = dir.File("surround.ogg");
  test::MakeAudio(source, "aevalsrc=0|0.5*sin(2*PI*330*t)|0|0|0|0:s=48000:d=2:c=5.1",
                  "-c:a libvorbis");
  const test::CliRun run =
      test::RunCli("convert", {"-f", "wav", "-d", dir.File("out"), source}, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const std::vector<int16_t> stereo = test::DecodeWithFfmpeg(dir.File("out/surround.wav"));
  ASSERT_NEAR(static_cast<double>(stereo.size()), 2.0 * 2 * 48000, 4000);
  EXPECT_LT(Rms(stereo, 0, 2), 300);
  EXPECT_GT(Rms(stereo, 1, 2), 8000);
}

}  // namespace
}  // namespace quillo
