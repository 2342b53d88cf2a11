#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/FilesFrom.h"
#include "cli/JsonLine.h"
#include "cli/OptionTable.h"
#include "cli/ResultJson.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

TEST(JsonLines, StringsAreAlwaysValidJson) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain name.mp3", "\"plain name.mp3\""},
      {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
      {"a\nb\tc\rd\x01\x1f\x7f", "\"a\\nb\\tc\\rd\\u0001\\u001f\\u007f\""},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5",
       "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5\""},
      {"caf\xe9.wav", "\"caf\\ufffd.wav\""},                                // a Latin-1 byte
      {"\xe2\x82", "\"\\ufffd\\ufffd\""},                                   // a sequence cut short
      {"\xc0\xaf\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd\""},  // overlong, surrogate
      {std::string("nul\0byte", 8), "\"nul\\u0000byte\""},
  };
  for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json) << text;
}

TEST(JsonLines, Base64MatchesTheStandardVectors) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {std::string("\xff\xfe\x00\x80", 4), "//4AgA=="},
  };
  for (const auto& [bytes, encoded] : cases) EXPECT_EQ(Base64(bytes), encoded);
}

TEST(JsonLines, PathsThatAreNotUtf8KeepTheirBytes) {
  JsonLine line;
  line.Path("input", "/m/caf\xe9.wav").Path("output", "/m/ok.flac").Path("none", "");
  line.Integer("rate", 44100).Integer("channels", 0, false).Number("seconds", 1.23456, 3);
  EXPECT_EQ(line.Line(),
            "{\"input\": \"/m/caf\\ufffd.wav\", \"input_base64\": \"L20vY2Fm6S53YXY=\", "
            "\"output\": \"/m/ok.flac\", \"none\": null, \"rate\": 44100, \"channels\": null, "
            "\"seconds\": 1.235}\n");
}

TEST(JsonLines, StatesOfTheRun) {
  FileItem item;
  item.path = "a.wav";
  struct Case {
    FileResult::State state;
    std::string status;
    bool cancelled;
    std::string expected;  // a part of the line
  };
  const Case cases[] = {
      {FileResult::State::Converted, "a.flac", false, "\"state\": \"ok\", \"volume\": 100.00"},
      {FileResult::State::Failed, "No audio in the file", false,
       "\"state\": \"no-audio\", \"volume\": null"},
      {FileResult::State::Failed, "Conversion Failure (Disk full)", false,
       "\"reason\": \"Disk full\""},
      {FileResult::State::Skipped, "Skipped", false, "\"state\": \"skipped\""},
      {FileResult::State::Cancelled, "Cancelled", true, "\"state\": \"cancelled\""},
      {FileResult::State::NotReached, "", true,
       "\"status\": \"Cancelled\", \"state\": \"cancelled\""},
      {FileResult::State::NotReached, "", false, "\"state\": \"failed\""},
  };
  for (const Case& c : cases) {
    FileResult result;
    result.state = c.state;
    result.status = c.status;
    if (c.state == FileResult::State::Converted) {
      result.volume = "100.00%";
      result.outputPath = "/o/a.flac";
    }
    const std::string line = ConversionJsonLine(item, result, c.cancelled, 0.5);
    EXPECT_NE(line.find(c.expected), std::string::npos) << line;
    EXPECT_EQ(line.find("\"output\": \"/o/a.flac\"") != std::string::npos,
              c.state == FileResult::State::Converted)
        << line;
  }
}

// Lists split on their separator; a name no path can have, or an endless run
// of separators, ends the list at once with the reason.
TEST(FilesFrom, ListsSplitOnTheirSeparator) {
  const std::string longest(kMaxListedNameBytes, 'n');
  const std::string tooLong = "name 2 is longer than 4095 bytes, the longest a path can be";
  struct Case {
    std::string input;
    bool nul;
    std::vector<std::string> names;
    std::string error;
  };
  const Case cases[] = {
      {"a.wav\n\nb c.mp3\n/x/d.ogg", false, {"a.wav", "b c.mp3", "/x/d.ogg"}, ""},
      {std::string("a\nb.wav\0c.wav\0\0", 13), true, {"a\nb.wav", "c.wav"}, ""},
      {"", false, {}, ""},
      {" lead and trail \n", false, {" lead and trail "}, ""},
      {"a\n" + longest + "\n", false, {"a", longest}, ""},
      {"a.wav\r\n\r\nb c.mp3\r\nd\re\r", false, {"a.wav", "b c.mp3", "d\re"}, ""},
      {std::string("a\r\0b\r\n\0", 7), true, {"a\r", "b\r\n"}, ""},
      {"a\n" + longest + "\r\n", false, {"a", longest}, ""},
      {"a\n" + longest, false, {"a", longest}, ""},
      {"a\n" + longest + "n\nb\n", false, {"a"}, tooLong},
      {"a\n" + longest + "n", false, {"a"}, tooLong},
      {"a\n" + std::string(5000, 'n') + "\nb\n", false, {"a"}, tooLong},
      {"a" + std::string(5000, '\0'), true, {"a"}, "more than 4095 empty names in a row"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 20));
    std::istringstream in(c.input);
    std::vector<std::string> names;
    std::string error;
    EXPECT_EQ(ReadNameList(in, c.nul, names, error), c.error.empty());
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(error, c.error);
  }
  // An endless device ends the command as a usage error, in either mode.
  test::TempDir dir;
  for (const auto& [mode, reason] :
       {std::pair{"", "name 1 is longer than 4095 bytes, the longest a path can be"},
        std::pair{"-0", "more than 4095 empty names in a row"}}) {
    std::vector<std::string> args = {"-d", dir.File("out"), "--files-from", "/dev/zero"};
    if (*mode != '\0') args.push_back(mode);
    const test::CliRun run = RunCli("convert", args, dir.File("quillo.conf"));
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.err,
              "quillo-cli: cannot read the file list \"/dev/zero\": " + std::string(reason) + "\n");
  }

  // Every list is read, each where the command line names it among the paths.
  const std::string list = dir.File("list");
  std::ofstream(list, std::ios::binary) << "first.wav\r\nsecond.wav\r\n";
  std::string error;
  std::optional<ConvertArguments> arguments =
      ParseCommandArguments({"given.wav", "--files-from", list, "middle.wav", "--files-from=-",
                             "last.wav", "--files-from", list},
                            kConvertCommand, error);
  ASSERT_TRUE(arguments) << error;
  std::istringstream input("listed.wav\n");
  ASSERT_TRUE(AddFilesFrom(*arguments, input, error)) << error;
  EXPECT_EQ(arguments->paths,
            (std::vector<std::string>{"given.wav", "first.wav", "second.wav", "middle.wav",
                                      "listed.wav", "last.wav", "first.wav", "second.wav"}));
  for (const std::string unreadable : {"/nonexistent/list", "/"}) {
    arguments->filesFrom = {{0, list}, {0, unreadable}};
    EXPECT_FALSE(AddFilesFrom(*arguments, input, error));
    EXPECT_EQ(error, "cannot read the file list \"" + unreadable + "\": " +
                         (unreadable == "/" ? "Is a directory" : "No such file or directory"));
  }
}

}  // namespace
}  // namespace quillo
