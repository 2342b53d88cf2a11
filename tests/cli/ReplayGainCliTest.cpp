#include <ebur128.h>
#include <gtest/gtest.h>

#include <algorithm>
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
// within 0.1 dB of libebur128's figure, and with "album" the album's beside
// them (a file alone in its folder is its own album); where tags are off or
// have no place, none.
TEST_F(ReplayGainCli, TrackAndAlbumTagsInEveryTagFormat) {
  const Reference reference = Measure(source);
  ASSERT_GT(std::abs(reference.gainDb), 1.0);  // a figure worth checking
  const std::pair<const char*, const char*> tagged[] = {{"mp3", "mp3"},   {"ogg", "ogg"},
                                                        {"flac", "flac"}, {"wv", "wv"},
                                                        {"6500", "m4a"},  {"wma", "wma"}};
  for (const auto& [format, extension] : tagged) {
    const std::string output = Convert(format, extension, {"--replaygain", "album"});
    SCOPED_TRACE(output);
    for (const char* scope : {"TRACK", "ALBUM"}) {
      EXPECT_NEAR(TagValue(output, "REPLAYGAIN_" + std::string(scope) + "_GAIN"), reference.gainDb,
                  0.1);
      EXPECT_NEAR(TagValue(output, "REPLAYGAIN_" + std::string(scope) + "_PEAK"), reference.peak,
                  0.01);
    }
    EXPECT_NEAR(test::DecodeAudio(output).Seconds(), 3.0, 0.1);
  }
  // "on", the word of old scripts, means the track's values alone.
  const std::string trackOnly = Convert("flac", "flac", {"--replaygain", "on"});
  EXPECT_NEAR(TagValue(trackOnly, "REPLAYGAIN_TRACK_GAIN"), reference.gainDb, 0.1);
  EXPECT_TRUE(std::isnan(TagValue(trackOnly, "REPLAYGAIN_ALBUM_GAIN")));
  // Opus carries the gains as R128_TRACK_GAIN and R128_ALBUM_GAIN alone:
  // 256ths of a dB to -23 LUFS.
  const std::string opus = Convert("opus", "opus", {"--replaygain", "album"});
  EXPECT_NEAR(TagValue(opus, "R128_TRACK_GAIN") / 256.0, reference.gainDb - 5.0, 0.1);
  EXPECT_NEAR(TagValue(opus, "R128_ALBUM_GAIN") / 256.0, reference.gainDb - 5.0, 0.1);
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

// libebur128 called here on decoded audio: each file's meter, and the
// loudness of several together as its multiple-state call gives it.
class Ebur128Files {
 public:
  ~Ebur128Files() {
    for (ebur128_state*& state : states_) ebur128_destroy(&state);
  }
  void Add(const test::DecodedAudio& audio) {
    ebur128_state* state = ebur128_init(static_cast<unsigned>(audio.channels),
                                        static_cast<unsigned long>(audio.rate), EBUR128_MODE_I);
    ASSERT_NE(state, nullptr);
    ebur128_add_frames_short(state, audio.samples.data(), audio.samples.size() / audio.channels);
    states_.push_back(state);
    for (int16_t sample : audio.samples) peak_ = std::max(peak_, std::abs(sample / 32768.0));
  }
  double Lufs(size_t file) const {
    double lufs = 0.0;
    EXPECT_EQ(ebur128_loudness_global(states_.at(file), &lufs), EBUR128_SUCCESS);
    return lufs;
  }
  double TogetherLufs() {
    double lufs = 0.0;
    EXPECT_EQ(ebur128_loudness_global_multiple(states_.data(), states_.size(), &lufs),
              EBUR128_SUCCESS);
    return lufs;
  }
  double SamplePeak() const { return peak_; }

 private:
  std::vector<ebur128_state*> states_;
  double peak_ = 0.0;
};

// Three tracks of different levels and lengths in one folder, a fourth in
// another: each folder is an album.
class AlbumCli : public ReplayGainCli {
 protected:
  const std::vector<std::string> names = {"quiet", "middle", "loud"};
  std::string album = dir.File("album");
  std::string other = dir.File("other");

  void SetUp() override {
    fs::create_directories(album);
    fs::create_directories(other);
    const char* const levels[] = {"amplitude=0.03:duration=2", "amplitude=0.08:duration=3",
                                  "amplitude=0.2:duration=4"};
    for (size_t i = 0; i < names.size(); ++i)
      MakeAudio(
          album + "/" + names[i] + ".wav",
          "anoisesrc=color=pink:sample_rate=44100:seed=" + std::to_string(i + 1) + ":" + levels[i],
          "-ac 2");
    MakeAudio(other + "/alone.wav", "sine=frequency=500:sample_rate=44100:duration=2");
  }

  std::string Output(const std::string& name) { return out + "/" + name + ".flac"; }

  void ConvertAlbums(std::vector<std::string> options) {
    std::vector<std::string> args = {"-f",          "flac",      "-d", out,
                                     "--if-exists", "overwrite", "-j", "2"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {album, other});
    const test::CliRun run = RunCli("convert", args, config);
    ASSERT_EQ(run.status, 0) << run.err << run.out;
  }
};

// Each track gets its own values and the album's: the loudness of the
// album's audio together and its largest peak, as libebur128 finds them on
// the same audio; the file of the other folder is an album of its own.
TEST_F(AlbumCli, AlbumGainMeasuresTheFolderTogether) {
  ConvertAlbums({"--replaygain", "album"});
  Ebur128Files tracks;
  for (const std::string& name : names) tracks.Add(test::DecodeAudio(Output(name)));
  const double albumGain = -18.0 - tracks.TogetherLufs();
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_NEAR(TagValue(Output(names[i]), "REPLAYGAIN_TRACK_GAIN"), -18.0 - tracks.Lufs(i), 0.1);
    EXPECT_NEAR(TagValue(Output(names[i]), "REPLAYGAIN_ALBUM_GAIN"), albumGain, 0.1);
    EXPECT_NEAR(TagValue(Output(names[i]), "REPLAYGAIN_ALBUM_PEAK"), tracks.SamplePeak(), 1e-6);
  }
  // The album is not its loudest track, nor the mean of its tracks' values.
  EXPECT_GT(std::abs(albumGain - (-18.0 - tracks.Lufs(2))), 0.3);
  Ebur128Files alone;
  alone.Add(test::DecodeAudio(Output("alone")));
  EXPECT_NEAR(TagValue(Output("alone"), "REPLAYGAIN_ALBUM_GAIN"), -18.0 - alone.Lufs(0), 0.1);
  EXPECT_NEAR(TagValue(Output("alone"), "REPLAYGAIN_ALBUM_PEAK"), alone.SamplePeak(), 1e-6);
}

// With one loudness gain for each album, the album as a whole reaches the
// target and its tracks keep their level differences; the album's
// ReplayGain values, measured as written, then say it is at the reference.
TEST_F(AlbumCli, AlbumLoudnessKeepsTheTracksBalance) {
  Ebur128Files sources;
  for (const std::string& name : names) sources.Add(test::DecodeAudio(album + "/" + name + ".wav"));
  const double gainDb = -18.0 - sources.TogetherLufs();
  ASSERT_LT(sources.SamplePeak() * std::pow(10.0, gainDb / 20.0), 0.7);  // no peak limit
  ConvertAlbums({"--loudness", "-18", "--by-album", "--replaygain", "album"});
  Ebur128Files outputs;
  for (const std::string& name : names) outputs.Add(test::DecodeAudio(Output(name)));
  EXPECT_NEAR(outputs.TogetherLufs(), -18.0, 0.1);
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_NEAR(outputs.Lufs(i), sources.Lufs(i) + gainDb, 0.1);
    EXPECT_NEAR(TagValue(Output(names[i]), "REPLAYGAIN_ALBUM_GAIN"), 0.0, 0.1);
  }
  EXPECT_GT(outputs.Lufs(2) - outputs.Lufs(0), 10.0);
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
