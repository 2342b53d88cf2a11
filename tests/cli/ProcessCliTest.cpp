// What a script or a terminal sees while quillo-cli runs: the real program
// as a child process on a pipe and under the limits of its shell, and the
// lines it shares a terminal with its progress line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/CliPrompts.h"
#include "cli/TerminalProgress.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// The shell command that runs quillo-cli with `args`, its errors discarded.
std::string Program(const std::vector<std::string>& args) {
  std::string command = test::ShellQuote(QUILLO_CLI_PROGRAM);
  for (const std::string& arg : args) command += " " + test::ShellQuote(arg);
  return command + " 2>/dev/null";
}

// Each file's line reaches a pipe as soon as the file ends: a run killed
// during its second file (twenty minutes of audio) has reported the first,
// whole, and its output is complete.
TEST(ProcessCli, EachLineIsFlushedWhenItsFileEnds) {
  test::TempDir dir;
  const std::string first = dir.File("first.wav");
  const std::string second = dir.File("second.wav");
  MakeAudio(first, "sine=frequency=440:sample_rate=8000:duration=0.5");
  MakeAudio(second, "sine=frequency=440:sample_rate=8000:duration=1200");
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json);
    const std::string out = dir.File(json ? "json" : "plain");
    std::vector<std::string> args = {
        "convert", "--config", dir.File("quillo.conf"), "-f", "mp3", "-d", out, "-j", "1",
        first,     second};
    if (json) args.push_back("--json");
    // The shell names its process, which then becomes the program.
    FILE* pipe = popen(("echo $$; exec " + Program(args)).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char pid[32] = "", text[8192] = "";
    const bool read = fgets(pid, sizeof pid, pipe) != nullptr && fgets(text, sizeof text, pipe);
    if (const int child = std::atoi(pid); child > 0) kill(child, SIGKILL);
    const int status = pclose(pipe);
    ASSERT_TRUE(read);
    EXPECT_TRUE(WIFSIGNALED(status)) << "killed while the second file converted";
    const std::string line = text;
    if (json) {
      EXPECT_TRUE(line.starts_with("{\"input\": \"" + first + "\", \"output\": \"" + out +
                                   "/first.mp3\", \"status\": \"first.mp3\", \"state\": \"ok\""))
          << line;
      EXPECT_EQ(line.back(), '\n');
    } else {
      EXPECT_EQ(line, first + "\t100.00%\tfirst.mp3\n");
    }
    const test::DecodedAudio audio = test::DecodeAudio(out + "/first.mp3");
    EXPECT_EQ(audio.rate, 8000);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_NEAR(static_cast<double>(audio.samples.size()), 4000.0, 1152.0);
    EXPECT_FALSE(fs::exists(out + "/second.mp3"));
  }
}

// A file's lines and the engine's warnings never land on the progress line
// when both streams are the terminal: it is cleared first and drawn again
// below them. It stays narrower than the terminal, whatever the file's name,
// as a line that wrapped could not be cleared. Without a terminal the lines
// alone are written.
TEST(ProcessCli, LinesNeverLandOnTheProgressLine) {
  // After the counts and the bar (39 characters), the 79th character is the
  // two bytes of an e with an acute accent.
  const std::string longName =
      "Converting /music/" + std::string(21, 'x') + "\xc3\xa9" + std::string(40, 'y') + ".wav...";
  for (const bool terminal : {true, false}) {
    for (const std::string& file : {std::string("a.wav"), longName}) {
      SCOPED_TRACE(std::to_string(terminal) + " " + file);
      std::ostringstream screen;  // standard output and error on one terminal
      TerminalProgress progress(screen, terminal, 80);
      CliPrompts prompts(screen, &progress);
      progress.SetOverallRange(2);
      progress.SetFileText(file);
      const std::string bar = screen.str();
      EXPECT_EQ(bar.empty(), !terminal);
      // The bar after its clearing code, in characters: lead bytes only.
      const size_t characters = std::count_if(bar.begin(), bar.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
      });
      EXPECT_LE(characters, terminal ? 4u + 79u : 0u);
      if (terminal && file == longName) {
        EXPECT_TRUE(bar.ends_with("x\xc3\xa9")) << bar;
      }
      screen.str("");
      progress.Print(screen, "a.wav\t100.00%\ta.mp3\n", "quillo-cli: a note\n");
      EXPECT_EQ(screen.str(), (terminal ? "\r\033[K" : "") +
                                  std::string("quillo-cli: a note\na.wav\t100.00%\ta.mp3\n") + bar);
      screen.str("");
      prompts.Warn("the codec is unknown");
      EXPECT_EQ(screen.str(), (terminal ? "\r\033[K" : "") +
                                  std::string("Warning: the codec is unknown\n") + bar);
    }
  }
}

// "COMMAND --help" (or -h) anywhere among a command's options prints that
// command's usage on standard output and succeeds; a --help that is an
// option's value or follows "--" is none.
TEST(ProcessCli, EveryCommandTakesHelp) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  struct Case {
    std::vector<std::string> args;
    std::string firstLine;  // empty: not the usage
    int status;
  };
  const Case cases[] = {
      {{"formats", "--help"}, "Usage: quillo-cli formats", 0},
      {{"completion", "-h"}, "Usage: quillo-cli completion bash", 0},
      {{"probe", "a.wav", "--help"}, "Usage: quillo-cli probe [OPTIONS] PATH...", 0},
      {{"convert", "--bogus", "-h"}, "Usage: quillo-cli convert [OPTIONS] PATH...", 0},
      {{"join", "-o", "x.wav", "--help"}, "Usage: quillo-cli join -o OUTFILE [OPTIONS] PATH...", 0},
      {{"convert", "--config", config, "--title", "--help"}, "", 2},
      {{"convert", "--config", config, "-d", dir.File("out"), "--", "--help"}, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    std::vector<std::string> lines = Lines(test::Capture(Program(c.args) + "; echo $?"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::to_string(c.status));
    lines.pop_back();
    const bool usage = !lines.empty() && lines.front().starts_with("Usage: ");
    EXPECT_EQ(usage, !c.firstLine.empty());
    if (!usage) continue;
    EXPECT_EQ(lines.front(), c.firstLine);
    // Only the command's own options are listed.
    const bool probe = c.args.front() == "probe";
    const auto lists = [&](const std::string& option) {
      return std::any_of(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.starts_with(option); });
    };
    EXPECT_EQ(lists("  --json"), c.args.front() != "formats" && c.args.front() != "completion");
    EXPECT_EQ(lists("  --volume PERCENT"), c.args.front() == "convert" || c.args.front() == "join");
    EXPECT_FALSE(probe && lists("  -j, --jobs"));
  }
}

// A limit of the shell fails what it stops, never the process: a write past
// the file size limit fails its file ("File too large") and leaves no
// temporary file; worker threads that cannot get their stacks leave the run
// to those that did. Every other file converts whole.
TEST(ProcessCli, LimitsFailAFileNotTheRun) {
  test::TempDir dir;
  const std::string big = dir.File("big.wav");
  MakeAudio(big, "anoisesrc=duration=5:sample_rate=44100", "-ac 2");
  std::vector<std::string> small;
  for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
    small.push_back(dir.File(name));
    MakeAudio(small.back(), "sine=frequency=440:sample_rate=8000:duration=0.5");
  }
  struct Case {
    const char* name;
    const char* limits;
    bool withBig;
  };
  std::vector<Case> cases = {{"file size", "ulimit -f 200;", true}};
#ifndef __SANITIZE_ADDRESS__  // the sanitizer cannot start in a small address space
  cases.push_back({"threads", "ulimit -s 1048576; ulimit -v 2097152;", false});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string out = dir.File(c.name);
    std::vector<std::string> args = {
        "convert", "--config", dir.File("quillo.conf"), "-f", "wav", "-d", out, "-j", "4"};
    if (c.withBig) args.push_back(big);
    args.insert(args.end(), small.begin(), small.end());
    std::vector<std::string> lines = Lines(test::Capture(
        "bash -c " + test::ShellQuote(std::string(c.limits) + " exec " + Program(args)) +
        "; echo $?"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.withBig ? "1" : "0") << "the exit status, not a signal's";
    lines.pop_back();
    ASSERT_EQ(lines.size(), small.size() + (c.withBig ? 1 : 0));
    if (c.withBig) {
      EXPECT_EQ(lines[0], big + "\t\tConversion Failure (File too large)");
    }
    for (const std::string& source : small) {
      const test::DecodedAudio audio =
          test::DecodeAudio(out + "/" + fs::path(source).filename().string());
      EXPECT_EQ(audio.samples.size(), 4000u) << source;
      EXPECT_EQ(audio.rate, 8000);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), std::ssize(small))
        << "the small files only: no temporary file is left";
  }
}

}  // namespace
}  // namespace quillo
