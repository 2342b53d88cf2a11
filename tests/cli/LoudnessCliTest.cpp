#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

// Integrated loudness and true peak, by ffmpeg's own meter.
struct Measured {
  double lufs = 0.0;
  double truePeak = 0.0;
};

Measured MeasureWithFfmpeg(const std::string& path) {
  const test::LoudnessReading reading = test::MeasureLoudness(path, true);
  return {reading.lufs, reading.peakDb};
}

// The RMS of samples [from, to) of an interleaved stereo decode.
double Rms(const std::vector<int16_t>& samples, size_t from, size_t to) {
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
  return std::sqrt(sum / double(to - from));
}

class LoudnessCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");

  // Four seconds of stereo audio from an aevalsrc expression of sample n.
  std::string Make(const std::string& name, const std::string& expression) {
    const std::string path = dir.File(name);
    test::Run("ffmpeg -v error -y -f lavfi -i " +
              ShellQuote("aevalsrc=" + expression + "|" + expression + ":s=44100:d=4") + " " +
              ShellQuote(path));
    return path;
  }
  // A 1 kHz sine peaking at 0.5, and one 10 dB quieter whose single click
  // peaks at 0.5 too: equal peaks, 10 LU apart.
  std::string Loud() { return Make("loud.wav", "0.5*sin(2*PI*1000*t)"); }
  std::string Quiet() {
    return Make("quiet.wav", "if(eq(n\\,44100)\\,0.5\\,0.158*sin(2*PI*1000*t))");
  }
};

// Equal peaks, 10 LU apart: both come out at the target; where the target
// would push the peak over -1 dBTP the gain stops there.
TEST_F(LoudnessCli, FilesReachTheTargetWithTruePeakLimited) {
  const std::string loud = Loud();
  const std::string quiet = Quiet();
  const Measured loudIn = MeasureWithFfmpeg(loud);
  const Measured quietIn = MeasureWithFfmpeg(quiet);
  ASSERT_NEAR(loudIn.lufs - quietIn.lufs, 10.0, 0.3);
  ASSERT_NEAR(loudIn.truePeak, quietIn.truePeak, 0.3);

  struct Case {
    std::string format, extension, target;
    double expectedLufs;  // where the peak limit does not hold the gain back
  };
  for (const Case& c : std::vector<Case>{{"wav", "wav", "-18", -18.0},
                                         {"flac", "flac", "-23", -23.0},
                                         {"ogg", "ogg", "-30", -30.0}}) {
    const test::CliRun run = RunCli("convert",
                                    {"-f", c.format, "-d", out, "--if-exists", "overwrite",
                                     "--loudness", c.target, loud, quiet},
                                    config);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const std::string& source : {loud, quiet}) {
      const std::string output =
          (fs::path(out) / (fs::path(source).stem().string() + "." + c.extension)).string();
      const Measured measured = MeasureWithFfmpeg(output);
      EXPECT_NEAR(measured.lufs, c.expectedLufs, 0.5) << output;
      EXPECT_LE(measured.truePeak, -1.0 + 0.1) << output;
      EXPECT_NEAR(test::DecodeAudio(output).Seconds(), 4.0, 0.05) << output;
    }
  }

  // At -5 LUFS the quiet file would need about +14 dB, which would take its
  // click over full scale: it stops at -1 dBTP instead.
  const test::CliRun run = RunCli(
      "convert", {"-f", "wav", "-d", out, "--if-exists", "overwrite", "--loudness", "-5", quiet},
      config);
  ASSERT_EQ(run.status, 0) << run.err;
  const Measured limited = MeasureWithFfmpeg((fs::path(out) / "quiet.wav").string());
  EXPECT_NEAR(limited.truePeak, -1.0, 0.2);
  EXPECT_LT(limited.lufs, -5.0 - 5.0);
  // The line says where the file landed, and why.
  const size_t held = run.out.find(" LUFS, held by the true-peak limit");
  ASSERT_NE(held, std::string::npos) << run.out;
  const double reported = std::stod(run.out.substr(run.out.rfind('(', held) + 1));
  EXPECT_NEAR(reported, limited.lufs, 0.5) << run.out;
}

// Levels are taken from the audio as it is written: after the fold to mono,
// after one channel is picked, after resampling. Each is converted to a
// loudness target and to full scale; an independent meter checks the result,
// and no sample may sit flat against the rails.
TEST_F(LoudnessCli, LevelsAreMeasuredWhereTheAudioLands) {
  // Uncorrelated channels (a fold loses 3 dB more than correlated ones) and a
  // square wave, whose edges overshoot once resampled, both 24-bit; a
  // lopsided 16-bit pair, its right channel 20 dB down.
  const auto make = [&](const std::string& name, const std::string& left, const std::string& right,
                        const std::string& codec) {
    const std::string path = dir.File(name);
    test::Run("ffmpeg -v error -y -f lavfi -i " +
              ShellQuote("aevalsrc=" + left + "|" + right + ":s=44100:d=4") + " -c:a " + codec +
              " " + ShellQuote(path));
    return path;
  };
  const std::string uncorrelated =
      make("uncorrelated.wav", "0.5*sin(2*PI*1000*t)", "0.5*sin(2*PI*1510*t)", "pcm_s24le");
  const std::string lopsided =
      make("lopsided.wav", "0.5*sin(2*PI*1000*t)", "0.05*sin(2*PI*1000*t)", "pcm_s16le");
  const std::string square =
      make("square.wav", "0.2*sgn(sin(2*PI*500*t))", "0.2*sgn(sin(2*PI*500*t))", "pcm_s24le");
  struct Case {
    std::string source;
    std::vector<std::string> shape;
    int channels, rate;
  };
  const std::vector<Case> cases = {
      {uncorrelated, {"--channels", "1", "--mono", "avg"}, 1, 44100},
      {lopsided, {"--channels", "1", "--mono", "right"}, 1, 44100},
      {square, {"--rate", "22050"}, 2, 22050},
  };
  for (const Case& c : cases) {
    for (const std::vector<std::string>& level :
         {std::vector<std::string>{"--loudness", "-23"}, std::vector<std::string>{"--normalize"}}) {
      std::vector<std::string> args = {"-f", "wav", "-d", out, "--if-exists", "overwrite"};
      args.insert(args.end(), c.shape.begin(), c.shape.end());
      args.insert(args.end(), level.begin(), level.end());
      args.push_back(c.source);
      const test::CliRun run = RunCli("convert", args, config);
      ASSERT_EQ(run.status, 0) << run.out << run.err;
      const std::string output = (fs::path(out) / fs::path(c.source).filename()).string();
      const std::string what = output + " " + level[0];
      const test::DecodedAudio audio = test::DecodeAudio(output);
      ASSERT_EQ(audio.channels, c.channels) << what;
      ASSERT_EQ(audio.rate, c.rate) << what;
      if (level[0] == "--loudness") {
        const test::LoudnessReading reading = test::MeasureLoudness(output, true, true);
        EXPECT_NEAR(reading.lufs, -23.0, 0.5) << what;
        EXPECT_LE(reading.peakDb, -1.0) << what;
        continue;
      }
      int peak = 0;
      int flat = 0;  // samples at a rail next to another one at the rail
      const auto atRail = [](int16_t s) { return s >= 32767 || s <= -32768; };
      for (size_t i = 0; i < audio.samples.size(); ++i) {
        peak = std::max(peak, std::abs(int(audio.samples[i])));
        const size_t next = i + size_t(audio.channels);
        if (next < audio.samples.size() && atRail(audio.samples[i]) && atRail(audio.samples[next]))
          ++flat;
      }
      EXPECT_GE(peak, 32700) << what;
      EXPECT_EQ(flat, 0) << what;
    }
  }
}

// Silence has no gated loudness: it converts unscaled ("100.00%"), as does a
// file shorter than one gating block. Out-of-range targets are refused.
TEST_F(LoudnessCli, SilentAndShortFilesConvertUnscaled) {
  const std::string silent = Make("silent.wav", "0");
  const std::string shortFile = dir.File("short.wav");
  test::Run("ffmpeg -v error -y -f lavfi -i 'aevalsrc=0.2*sin(2*PI*440*t):s=44100:d=0.2' " +
            ShellQuote(shortFile));
  const test::CliRun run =
      RunCli("convert", {"-f", "wav", "-d", out, "--loudness", "-18", silent, shortFile}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = test::Lines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  for (const std::string& line : lines)
    EXPECT_NE(line.find("\t100.00%\t"), std::string::npos) << line;
  EXPECT_EQ(test::DecodeWithFfmpeg((fs::path(out) / "short.wav").string()),
            test::DecodeWithFfmpeg(shortFile));
  for (const char* bad : {"-41", "-4", "x", "0"})
    EXPECT_EQ(RunCli("convert", {"-f", "wav", "-d", out, "--loudness", bad, silent}, config).status,
              2)
        << bad;
}

// A join is measured as a whole and takes one gain: its parts keep their
// balance, and the whole reaches the target.
TEST_F(LoudnessCli, JoinTakesOneGain) {
  const std::string loud = Loud();
  const std::string quiet = Quiet();
  const std::string joined = dir.File("joined.wav");
  const test::CliRun run =
      RunCli("join", {"-f", "wav", "-o", joined, "--loudness", "-20", loud, quiet}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<int16_t> in1 = test::DecodeWithFfmpeg(loud);
  const std::vector<int16_t> in2 = test::DecodeWithFfmpeg(quiet);
  const std::vector<int16_t> both = test::DecodeWithFfmpeg(joined);
  ASSERT_EQ(both.size(), in1.size() + in2.size());
  const double gain1 = Rms(both, 0, in1.size()) / Rms(in1, 0, in1.size());
  const double gain2 = Rms(both, in1.size(), both.size()) / Rms(in2, 0, in2.size());
  EXPECT_NEAR(gain1, gain2, 0.01 * gain1);
  EXPECT_NEAR(MeasureWithFfmpeg(joined).lufs, -20.0, 0.5);
  // The quiet part alone is not brought up to the target.
  EXPECT_LT(20.0 * std::log10(gain2), 0.0);
}

}  // namespace
}  // namespace quillo
