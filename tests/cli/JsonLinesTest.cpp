#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/FilesFrom.h"
#include "cli/JsonLine.h"
#include "cli/OptionTable.h"
#include "cli/ResultJson.h"
#include "engine/ConversionRun.h"
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

// Each way a file ends, rendered from its result's values alone: the status
// is the list's cell, the reason comes without the words around it.
TEST(JsonLines, StatesOfTheRun) {
  FileItem item;
  item.path = "a.wav";
  using State = FileResult::State;
  using Failure = FileResult::Failure;
  struct Case {
    State state;
    Failure failure;
    std::string reason;
    bool cancelled;
    std::string members;  // from "status" to "volume"
    std::string why;      // the "reason" member
  };
  const std::string refused = "Failed to create file \"/o/a.flac\" (Permission denied)";
  const Case cases[] = {
      {State::Converted, Failure::None, "", false,
       R"j("status": "a.flac (-20.0 LUFS)", "state": "ok", "volume": 87.53)j", "null"},
      {State::Partial, Failure::Conversion, "1.0 of 2.0 s converted", false,
       R"j("status": "Conversion Failure (1.0 of 2.0 s converted)", "state": "partial", )j"
       R"j("volume": 87.53)j",
       R"j("1.0 of 2.0 s converted")j"},
      {State::Failed, Failure::NoAudio, kNoAudioStatus, false,
       R"j("status": "No audio in the file", "state": "no-audio", "volume": null)j",
       R"j("No audio in the file")j"},
      {State::Failed, Failure::Conversion, "Disk full", false,
       R"j("status": "Conversion Failure (Disk full)", "state": "failed", "volume": null)j",
       R"j("Disk full")j"},
      {State::Failed, Failure::Conversion, "", false,
       R"j("status": "Conversion Failure", "state": "failed", "volume": null)j",
       R"j("Conversion Failure")j"},
      {State::Failed, Failure::Refused, refused, false,
       R"j("status": )j" + JsonString(refused) + R"j(, "state": "failed", "volume": null)j",
       JsonString(refused)},
      {State::Skipped, Failure::None, "Skipped", false,
       R"j("status": "Skipped", "state": "skipped", "volume": null)j", R"j("Skipped")j"},
      {State::Cancelled, Failure::None, "", true,
       R"j("status": "Cancelled", "state": "cancelled", "volume": null)j", "null"},
      {State::NotReached, Failure::None, "", true,
       R"j("status": "Cancelled", "state": "cancelled", "volume": null)j", "null"},
      {State::NotReached, Failure::None, "", false,
       R"j("status": "Not converted", "state": "failed", "volume": null)j",
       R"j("the run ended before this file")j"},
  };
  for (const Case& c : cases) {
    FileResult result;
    result.state = c.state;
    result.failure = c.failure;
    result.reason = c.reason;
    result.seconds = 0.5;
    const bool written = IsWritten(c.state);
    if (written) {
      result.gain = 0.87531f;
      result.outputPath = "/o/a.flac";
      result.note = "-20.0 LUFS";
    }
    EXPECT_EQ(ConversionJsonLine(item, result, c.cancelled),
              std::string(R"j({"input": "a.wav", "output": )j") +
                  (written ? R"j("/o/a.flac")j" : "null") + ", " + c.members +
                  R"j(, "duration": null, "rate": null, "channels": null, "bitrate": null, )j"
                  R"j("seconds": 0.500, "reason": )j" +
                  c.why + R"j(, "note": )j" + (written ? R"j("-20.0 LUFS")j" : "null") +
                  R"j(, "fallback": null, "verified": false})j" + "\n");
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
