#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "backends/tags/ExtraTagWriter.h"
#include "catalog/Catalog.h"
#include "cli/JsonLine.h"
#include "engine/media/FixedText.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

// A ReplayGain tag as ffprobe reads it (container or stream tags, any
// letter case); NaN when the file has none.
double TagValue(const std::string& path, const std::string& key) {
  const std::string tags = test::Capture(
      "ffprobe -v error -show_entries format_tags:stream_tags -of flat " + ShellQuote(path));
  std::smatch match;
  if (!std::regex_search(tags, match,
                         std::regex("\\." + key + "=\"([-+0-9.]+)", std::regex::icase)))
    return std::nan("");
  return std::stod(match[1]);
}

// libebur128's figures as ffmpeg's meter reports them: the track gain to
// -18 LUFS and the sample peak (linear).
struct Reference {
  double gainDb = 0.0;
  double peak = 0.0;
};

Reference Measure(const std::string& path) {
  const test::LoudnessReading reading = test::MeasureLoudness(path, false);
  return {-18.0 - reading.lufs, std::pow(10.0, reading.peakDb / 20.0)};
}

class ReplayGainCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");
  std::string source = dir.File("noise.wav");

  void SetUp() override {
    test::Run(
        "ffmpeg -v error -y -f lavfi -i "
        "'anoisesrc=color=pink:amplitude=0.25:duration=3:sample_rate=44100:seed=5' "
        "-af 'pan=stereo|c0=c0|c1=0.5*c0' " +
        ShellQuote(source));
  }

  std::string Convert(const std::string& format, const std::string& extension,
                      std::vector<std::string> options) {
    std::vector<std::string> args = {"-f", format, "-d", out, "--if-exists", "overwrite"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(source);
    const test::CliRun run = RunCli("convert", args, config);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("Warning"), std::string::npos) << run.err;
    return (fs::path(out) / ("noise." + extension)).string();
  }
};

// Each tag format gets the track gain and peak of the audio it was given,
// within 0.1 dB of libebur128's figure; where tags are off or have no
// place, none.
TEST_F(ReplayGainCli, TrackTagsInEveryTagFormat) {
  const Reference reference = Measure(source);
  ASSERT_GT(std::abs(reference.gainDb), 1.0);  // a figure worth checking
  const std::pair<const char*, const char*> tagged[] = {{"mp3", "mp3"},   {"ogg", "ogg"},
                                                        {"flac", "flac"}, {"wv", "wv"},
                                                        {"6500", "m4a"},  {"wma", "wma"}};
  for (const auto& [format, extension] : tagged) {
    const std::string output = Convert(format, extension, {"--replaygain", "on"});
    SCOPED_TRACE(output);
    EXPECT_NEAR(TagValue(output, "REPLAYGAIN_TRACK_GAIN"), reference.gainDb, 0.1);
    EXPECT_NEAR(TagValue(output, "REPLAYGAIN_TRACK_PEAK"), reference.peak, 0.01);
    EXPECT_NEAR(test::DecodeAudio(output).Seconds(), 3.0, 0.1);
  }
  // Opus carries the gain as R128_TRACK_GAIN alone: 256ths of a dB to -23 LUFS.
  const std::string opus = Convert("opus", "opus", {"--replaygain", "on"});
  EXPECT_NEAR(TagValue(opus, "R128_TRACK_GAIN") / 256.0, reference.gainDb - 5.0, 0.1);
  EXPECT_TRUE(std::isnan(TagValue(opus, "REPLAYGAIN_TRACK_GAIN")));
  EXPECT_EQ(test::DecodeAudio(opus).samples.size(), 3u * 48000 * 2);
  struct Untagged {
    const char* format;
    const char* extension;
    std::vector<std::string> options;
  };
  for (const Untagged& c :
       std::vector<Untagged>{{"mp3", "mp3", {}},
                             {"mp3", "mp3", {"--replaygain", "on", "--tags", "none"}},
                             {"wav", "wav", {"--replaygain", "on"}}}) {
    const std::string output = Convert(c.format, c.extension, c.options);
    EXPECT_TRUE(std::isnan(TagValue(output, "REPLAYGAIN_TRACK_GAIN"))) << output;
    EXPECT_NEAR(test::DecodeAudio(output).Seconds(), 3.0, 0.1) << output;
  }
}

// A join is one track: its tags measure the whole joined audio.
TEST_F(ReplayGainCli, JoinIsMeasuredAsOneTrack) {
  const std::string loud = dir.File("loud.wav");
  test::Run(
      "ffmpeg -v error -y -f lavfi -i 'aevalsrc=0.7*sin(2*PI*300*t)|0.7*sin(2*PI*300*t)"
      ":s=44100:d=2' " +
      ShellQuote(loud));
  const std::string joined = dir.File("joined.flac");
  const test::CliRun run =
      RunCli("join", {"-f", "flac", "-o", joined, "--replaygain", "on", source, loud}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  const Reference whole = Measure(joined);
  EXPECT_NEAR(TagValue(joined, "REPLAYGAIN_TRACK_GAIN"), whole.gainDb, 0.1);
  EXPECT_GT(std::abs(whole.gainDb - Measure(source).gainDb), 2.0);
}

// The window's toolkit takes the desktop's locale, and a German one prints
// "-3,45": the tags and JSON lines written under it must still have a point.
TEST(DecimalCommaLocale, TagsAndJsonKeepTheirDecimalPoint) {
  test::TempDir dir;
  const std::string flac = dir.File("a.flac");
  MakeAudio(flac, "sine=frequency=440:duration=0.5");
  const std::vector<OutputFormat> rows = BuildCatalog();
  ExtraTags extras;
  extras.replayGain = TrackGain{-3.45, 0.5};
  std::string json;
  {
    test::CommaLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale source to build";
    char comma[16];
    std::snprintf(comma, sizeof comma, "%.2f", 1.5);
    EXPECT_STREQ(comma, "1,50") << "the locale must really write a comma";
    EXPECT_TRUE(WriteExtraTags(flac, *FindFormat(rows, format_id::kFlac), extras)
                    .replayGainProblem.empty());
    json = JsonLine().Number("volume", -12.5, 2).Line();
  }
  EXPECT_EQ(json, "{\"volume\": -12.50}\n");
  EXPECT_DOUBLE_EQ(TagValue(flac, "replaygain_track_gain"), -3.45);
  EXPECT_DOUBLE_EQ(TagValue(flac, "replaygain_track_peak"), 0.5);
}

// A gain that rounds to zero has no minus sign: "+0.00 dB", not "-0.00 dB".
TEST(DecimalCommaLocale, ZeroHasNoMinusSign) {
  const std::vector<std::tuple<double, bool, std::string>> cases = {
      {-0.001, true, "+0.00"}, {-0.004, false, "0.00"}, {-0.0, false, "0.00"},
      {-0.006, true, "-0.01"}, {3.456, true, "+3.46"},  {0.0, true, "+0.00"}};
  for (const auto& [value, sign, text] : cases) EXPECT_EQ(FixedText(value, 2, sign), text) << value;
}

}  // namespace
}  // namespace quillo
