#include <gtest/gtest.h>

#include <sstream>

#include "catalog/Catalog.h"
#include "cli/Commands.h"
#include "cli/ConvertOptions.h"
#include "cli/OptionTable.h"
#include "cli/OptionWarnings.h"

namespace quillo {
namespace {

// The parser's verdict on one command line: its error, or the arguments it split.
struct ParseCase {
  unsigned command;
  std::vector<std::string> args;
  std::string error;  // empty: the line parses
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::string> paths;
};

TEST(OptionTable, ParsesAndRefusesAsBefore) {
  const std::vector<ParseCase> cases = {
      {kConvertCommand,
       {"-f", "mp3", "a.wav", "--mono=left"},
       "",
       {{"format", "mp3"}, {"mono", "left"}},
       {"a.wav"}},
      {kConvertCommand,
       {"--format=", "--", "-x.wav", "--json"},
       "",
       {{"format", ""}},
       {"-x.wav", "--json"}},
      {kConvertCommand, {"-", "b"}, "", {}, {"-", "b"}},
      {kConvertCommand, {"-x"}, "unknown option -x", {}, {}},
      {kConvertCommand, {"-fmp3", "-d/out", "-0x", "a"}, "unknown option -0x", {}, {}},
      {kJoinCommand,
       {"-fmp3", "-d/out", "-j2", "-0", "a", "-ox.mp3"},
       "",
       {{"format", "mp3"}, {"output-dir", "/out"}},
       {"a"}},
      {kConvertCommand, {"--frobnicate=1"}, "unknown option --frobnicate=1", {}, {}},
      {kConvertCommand,
       {"--normalise"},
       "unknown option --normalise (did you mean --normalize?)",
       {},
       {}},
      {kConvertCommand,
       {"--ifexists=skip"},
       "unknown option --ifexists=skip (did you mean --if-exists?)",
       {},
       {}},
      {kConvertCommand, {"--keep"}, "unknown option --keep", {}, {}},  // two options begin so
      {kConvertCommand, {"--same"}, "unknown option --same (did you mean --same-folder?)", {}, {}},
      {kProbeCommand, {"--jsn"}, "unknown option --jsn (did you mean --json?)", {}, {}},
      {kProbeCommand, {"--volum"}, "unknown option --volum", {}, {}},  // not an option of probe
      {kJoinCommand, {"a", "-d"}, "option -d needs a value", {}, {}},
      {kConvertCommand, {"--normalize=1"}, "option --normalize takes no value", {}, {}},
      {kConvertCommand,
       {"-j", "0"},
       "--jobs takes a whole number from 1 to 256, not \"0\"",
       {},
       {}},
      {kConvertCommand,
       {"--jobs=257"},
       "--jobs takes a whole number from 1 to 256, not \"257\"",
       {},
       {}},
      {kConvertCommand,
       {"-j0x10"},
       "--jobs takes a whole number from 1 to 256, not \"0x10\"",
       {},
       {}},
      {kProbeCommand, {"-f", "mp3"}, "-f is not an option of probe", {}, {}},
      {kProbeCommand, {"--save"}, "--save is not an option of probe", {}, {}},
      {kProbeCommand, {"--files-from="}, "bad value \"\" for --files-from", {}, {}},
  };
  for (const ParseCase& c : cases) {
    std::string error;
    const std::optional<ConvertArguments> parsed = ParseCommandArguments(c.args, c.command, error);
    const std::string line = ::testing::PrintToString(c.args);
    ASSERT_EQ(parsed.has_value(), c.error.empty()) << line << ": " << error;
    EXPECT_EQ(error, c.error) << line;
    if (!parsed) continue;
    EXPECT_EQ(parsed->options, c.options) << line;
    EXPECT_EQ(parsed->paths, c.paths) << line;
  }
}

TEST(OptionTable, CommandLineOptionsFillTheArguments) {
  std::string error;
  std::optional<ConvertArguments> parsed =
      ParseCommandArguments({"-o", "x.flac", "--config", "c.conf", "--save", "-j016", "--json",
                             "--files-from", "-", "-0", "p"},
                            kJoinCommand, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->outputFile, "x.flac");
  EXPECT_EQ(parsed->configFile, "c.conf");
  EXPECT_TRUE(parsed->save);
  EXPECT_EQ(parsed->jobs, 16);
  EXPECT_TRUE(parsed->json);
  EXPECT_EQ(parsed->filesFrom, (std::vector<std::pair<size_t, std::string>>{{0, "-"}}));
  EXPECT_TRUE(parsed->nulSeparated);
  EXPECT_TRUE(parsed->options.empty());
  EXPECT_EQ(parsed->paths, std::vector<std::string>{"p"});
}

// The settings after the options of one command line, or the error they give.
std::string Apply(std::vector<std::string> args, ConversionSettings& settings) {
  std::string error;
  std::optional<ConvertArguments> parsed = ParseCommandArguments(args, kConvertCommand, error);
  if (!parsed) return error;
  ApplyConvertOptions(*parsed, settings, error);
  return error;
}

TEST(OptionTable, ApplyReachesTheSettings) {
  ConversionSettings settings("/tmp");
  ASSERT_EQ(Apply({"-f",       "wav", "--if-exists", "skip", "--mono",  "right", "--skip",  "016",
                   "--length", "20",  "--volume",    "150",  "--title", "T",     "--genre", "G",
                   "--track",  "seq", "--keep-tree", "-d",   "/a/../b"},
                  settings),
            "");
  EXPECT_EQ(settings.outputFormat, format_id::kWav);
  EXPECT_EQ(settings.targetExistsOpt, TargetExistsPolicy::Skip);
  EXPECT_EQ(settings.monoType, MonoMixMode::RightOnly);
  EXPECT_TRUE(settings.enableSkipLength);
  EXPECT_EQ(settings.skipLength, 16);  // decimal, never octal
  EXPECT_EQ(settings.convertLength, 20);
  EXPECT_EQ(settings.volumeType, VolumeMode::Manual);
  EXPECT_EQ(settings.volume, 150);
  EXPECT_EQ(settings.tags.title, "T");
  EXPECT_EQ(settings.tags.genre, "G");
  EXPECT_EQ(settings.id3TagType, TagMode::Custom);
  EXPECT_EQ(settings.tags.trackNumType, TrackNumberMode::ListPosition);
  EXPECT_EQ(settings.createDirs, 1);
  EXPECT_EQ(settings.destOutputFolderOpt, OutputFolderMode::SpecificFolder);
  EXPECT_EQ(settings.destSpecifiedFolder, "/b");

  // The stored options that once had no flag, and a codec chosen on
  // automatic settings, which keeps them automatic.
  ConversionSettings flags("/tmp");
  ASSERT_EQ(Apply({"-f", "wav", "--codec", "24-bit", "--documents-fallback", "off", "--skip-hidden",
                   "on", "--only-ext", " MP3 ; flac", "--dts-cd", "on"},
                  flags),
            "");
  const OutputFormat& wav = *FindFormat(flags.formats, format_id::kWav);
  EXPECT_EQ(wav.codecId, codec_id::kPcmS24Le);
  EXPECT_EQ(wav.autoEncParam, 1);
  EXPECT_EQ(flags.outputFiles2MyDocuments, 0);
  EXPECT_EQ(flags.doNotLoadHiddenFiles, 1);
  EXPECT_EQ(flags.enableExtFilter, 1);
  EXPECT_EQ(flags.filterExts, "MP3,flac");
  EXPECT_EQ(flags.enableDtsForCda, 1);
  ASSERT_EQ(Apply({"--only-ext", "off", "--length", "0"}, flags), "");
  EXPECT_EQ(flags.enableExtFilter, 0);
  EXPECT_EQ(flags.enableConvertLength, 0);

  std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
      {{"--mono", "both"}, "--mono takes avg, left or right, not \"both\""},
      {{"--if-exists", "ask"}, "--if-exists takes rename, overwrite or skip, not \"ask\""},
      {{"--length", "-1"}, "--length takes a whole number from 0 to 2147483647, not \"-1\""},
      {{"--track", "256"}, "--track takes none, seq or a whole number from 0 to 255, not \"256\""},
      {{"--pictures", "yes"}, "--pictures takes on or off, not \"yes\""},
      {{"--only-ext", " ;,"},
       "--only-ext takes extensions separated by commas (\"mp3,flac\") or off, not \" ;,\""},
      {{"-d", ""}, "bad value \"\" for --output-dir"},
      {{"-f", "nonesuch"}, "unknown format \"nonesuch\" (see: quillo-cli formats)"},
      {{"-f", "opus", "--vbr", "1"}, "--vbr takes on or off, not \"1\""},
      {{"-f", "mp3", "--vbr", "off"}, "--vbr does not apply to MP3"},
      {{"-f", "wv", "--compression", "best"},
       "--compression takes fast, normal, high or very-high, not \"best\""},
      {{"-f", "flac", "--compression", "high"}, "--compression does not apply to FLAC"},
  };
  // Numbers are decimal digits only, in the option's range.
  for (const std::string bad : {"0", "32768", "0x10", "1e3", "12abc", " 12", "12 ", "+3", "+-3",
                                "-5", "", "99999999999999999999"})
    refusals.push_back(
        {{"--volume", bad}, "--volume takes a whole number from 1 to 32767, not \"" + bad + "\""});
  for (const std::string bad : {"-4", "4", "-41", "0x12", "-0x12", "--18", "-18.5"})
    refusals.push_back({{"--loudness", bad},
                        "--loudness takes a whole number from -40 to -5, not \"" + bad + "\""});
  for (const auto& [option, range] :
       {std::pair{"--skip", "0 to 2147483647"}, std::pair{"--rate", "0 to 768000"},
        std::pair{"--bitrate", "0 to 100000000"}})
    refusals.push_back(
        {{"-f", "mp3", option, "0x10"},
         std::string(option) + " takes a whole number from " + range + ", not \"0x10\""});
  for (const std::string bad : {"0x1p3", " 12.2", "12,2", "12.", "inf"})
    refusals.push_back({{"-f", "amr", "--mode", bad},
                        "bad value \"" + bad +
                            "\" for --mode; the narrow-band modes in kbit/s are 4.75 5.15 5.9 "
                            "6.7 7.4 7.95 10.2 12.2"});
  for (const auto& [args, error] : refusals) {
    ConversionSettings fresh("/tmp");
    EXPECT_EQ(Apply(args, fresh), error) << ::testing::PrintToString(args);
  }

  // What the strict reading takes: leading zeros are decimal, a loudness may
  // leave out its sign, a mode may have a trailing zero.
  ConversionSettings taken("/tmp");
  ASSERT_EQ(Apply({"--volume", "010", "--loudness", "18", "--track", "007"}, taken), "");
  EXPECT_EQ(taken.volume, 10);
  EXPECT_EQ(taken.loudnessTarget, -18);
  EXPECT_EQ(taken.tags.customTrackNum, 7);
  ASSERT_EQ(Apply({"-f", "amr", "--mode", "12.20", "--loudness", "-040"}, taken), "");
  EXPECT_EQ(taken.amrMode, 7);
  EXPECT_EQ(taken.loudnessTarget, -40);
  ASSERT_EQ(Apply({"-f", "opus", "--vbr", "off"}, taken), "");
  ASSERT_EQ(Apply({"-f", "wv", "--compression", "very-high"}, taken), "");
  EXPECT_EQ(std::pair(taken.opusVbr, taken.wavPackCompression), std::pair(0, 3));
}

// --help lists every option of the table once, and the completion script
// offers every spelling of each.
TEST(OptionTable, HelpAndCompletionNameEveryOption) {
  std::ostringstream help, completion, err;
  PrintUsage(help);
  ASSERT_EQ(RunCompletion({"bash"}, completion, err), kExitOk);
  for (const CliOption& option : OptionTable()) {
    const std::string name = "--" + std::string(option.name);
    const std::string synopsis =
        (option.shortName != 0 ? std::string("-") + option.shortName + ", " : "") + name;
    EXPECT_NE(help.str().find("  " + synopsis + (option.argument.empty() ? "" : " ")),
              std::string::npos)
        << name;
    const std::string script = completion.str();
    bool offered = false;
    for (const char* before : {" ", "'"})
      for (const char* after : {" ", "'"})
        offered = offered || script.find(before + name + after) != std::string::npos;
    EXPECT_TRUE(offered) << name;
  }
  EXPECT_EQ(RunCompletion({"zsh"}, completion, err), kExitUsage);
}

}  // namespace
}  // namespace quillo

namespace quillo {
namespace {

// An option that another one makes useless is named on standard error, once,
// in command-line order; one that takes effect is not.
TEST(OptionTable, UselessOptionsAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
      {{"--tags", "custom", "--pictures", "on"},
       {"--pictures has no effect unless the tags come from the source (--tags source)"}},
      {{"--replaygain", "on", "--tags", "none"}, {"--replaygain has no effect with --tags none"}},
      {{"--replaygain", "album", "--tags", "none", "--by-album"},
       {"--replaygain has no effect with --tags none",
        "--by-album has no effect without --loudness"}},
      {{"--artist", "A", "--track", "3", "--tags", "source"},
       {"--artist has no effect unless the tags are custom (--tags custom)",
        "--track has no effect unless the tags are custom (--tags custom)"}},
      {{"--title", "T", "--title-from-name"}, {"--title has no effect with --title-from-name"}},
      {{"--volume", "50", "--loudness", "-16", "--normalize"},
       {"--volume has no effect: --normalize comes after it",
        "--loudness has no effect: --normalize comes after it"}},
      {{"--keep-tree", "--same-folder"}, {"--keep-tree has no effect with --same-folder"}},
      {{"-f", "mp3", "--rate", "22050", "--rate", "8000", "--auto"},
       {"--rate has no effect: --auto comes after it"}},
      {{"--tags", "source", "--pictures", "on", "--replaygain", "on", "--volume", "50",
        "--title-from-name", "--tags", "custom", "-f", "mp3", "--auto", "--rate", "22050"},
       {"--pictures has no effect unless the tags come from the source (--tags source)"}},
  };
  for (const auto& [args, warnings] : cases) {
    std::string error;
    std::optional<ConvertArguments> parsed = ParseCommandArguments(args, kConvertCommand, error);
    ASSERT_TRUE(parsed) << error;
    ConversionSettings settings("/tmp");
    ASSERT_TRUE(ApplyConvertOptions(*parsed, settings, error)) << error;
    EXPECT_EQ(IgnoredOptionWarnings(*parsed, settings), warnings) << ::testing::PrintToString(args);
  }
}

}  // namespace
}  // namespace quillo
