#include <gtest/gtest.h>

#include <sstream>

#include "catalog/Catalog.h"
#include "cli/Commands.h"
#include "cli/ConvertOptions.h"
#include "cli/OptionTable.h"

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
      {kConvertCommand, {"-fmp3"}, "unknown option -fmp3", {}, {}},
      {kConvertCommand, {"--frobnicate=1"}, "unknown option --frobnicate=1", {}, {}},
      {kJoinCommand, {"a", "-d"}, "option -d needs a value", {}, {}},
      {kConvertCommand, {"--normalize=1"}, "option --normalize takes no value", {}, {}},
      {kConvertCommand, {"-j", "0"}, "-j needs a number of files from 1 to 256, not \"0\"", {}, {}},
      {kConvertCommand,
       {"--jobs=257"},
       "-j needs a number of files from 1 to 256, not \"257\"",
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
      ParseCommandArguments({"-o", "x.flac", "--config", "c.conf", "--save", "-j", "0x10", "--json",
                             "--files-from", "-", "-0", "p"},
                            kJoinCommand, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->outputFile, "x.flac");
  EXPECT_EQ(parsed->configFile, "c.conf");
  EXPECT_TRUE(parsed->save);
  EXPECT_EQ(parsed->jobs, 16);
  EXPECT_TRUE(parsed->json);
  EXPECT_EQ(parsed->filesFrom, "-");
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
  ASSERT_EQ(Apply({"-f",       "wav", "--if-exists", "skip", "--mono",  "right", "--skip",  "0x10",
                   "--length", "20",  "--volume",    "150",  "--title", "T",     "--genre", "G",
                   "--track",  "seq", "--keep-tree", "-d",   "/a/../b"},
                  settings),
            "");
  EXPECT_EQ(settings.outputFormat, format_id::kWav);
  EXPECT_EQ(settings.targetExistsOpt, TargetExistsPolicy::Skip);
  EXPECT_EQ(settings.monoType, MonoMixMode::RightOnly);
  EXPECT_TRUE(settings.enableSkipLength);
  EXPECT_EQ(settings.skipLength, 16);
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

  const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
      {{"--mono", "both"}, "bad value \"both\" for --mono"},
      {{"--volume", "0"}, "bad value \"0\" for --volume"},
      {{"--if-exists", "ask"}, "bad value \"ask\" for --if-exists"},
      {{"--length", "0"}, "bad value \"0\" for --length"},
      {{"--track", "-1"}, "bad value \"-1\" for --track"},
      {{"-d", ""}, "bad value \"\" for --output-dir"},
      {{"-f", "nonesuch"}, "unknown format \"nonesuch\" (see: quillo-cli formats)"},
  };
  for (const auto& [args, error] : refusals) {
    ConversionSettings fresh("/tmp");
    EXPECT_EQ(Apply(args, fresh), error) << ::testing::PrintToString(args);
  }
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
