// What a script or a terminal sees while quillo-cli runs: the real program
// as a child process on a pipe and under the limits of its shell, and the
// lines it shares a terminal with its progress line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "cli/TerminalProgress.h"
#include "tests/cli/CliTestSupport.h"

extern char** environ;

namespace quillo {
namespace {

namespace fs = std::filesystem;

// quillo-cli started by bash -c "LIMITS exec quillo-cli ARGS", so that the
// ulimit commands in `limits` bind it alone; its standard output is a pipe.
class Child {
 public:
  Child(const std::string& limits, const std::vector<std::string>& args) {
    std::string command = limits + " exec " + test::ShellQuote(QUILLO_CLI_PROGRAM);
    for (const std::string& arg : args) command += " " + test::ShellQuote(arg);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    const char* argv[] = {"bash", "-c", command.c_str(), nullptr};
    if (posix_spawnp(&pid_, "bash", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    out_ = ends[0];
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      Wait();
    }
    if (out_ >= 0) close(out_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }
  // The next line of its output with its line feed; at the end of the
  // output, what came before it.
  std::string ReadLine() {
    std::string line;
    char c = 0;
    while ((line.empty() || line.back() != '\n') && read(out_, &c, 1) == 1) line += c;
    return line;
  }
  std::string ReadAll() {
    std::string text;
    char block[4096];
    for (ssize_t n; (n = read(out_, block, sizeof block)) > 0;) text.append(block, n);
    return text;
  }
  void Kill() { kill(pid_, SIGKILL); }
  // The wait status.
  int Wait() {
    int status = -1;
    if (pid_ > 0) waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
};

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
    Child child("", args);
    ASSERT_TRUE(child.started());
    const std::string line = child.ReadLine();
    child.Kill();
    EXPECT_EQ(WTERMSIG(child.Wait()), SIGKILL) << "killed while the second file converted";
    if (json) {
      EXPECT_EQ(line.rfind("{\"input\": \"" + first + "\", \"output\": \"" + out +
                               "/first.mp3\", \"status\": \"first.mp3\", \"state\": \"ok\"",
                           0),
                0u)
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

// A file's lines never land on the progress line when both streams are the
// terminal: it is cleared first and drawn again below them. Without a
// terminal the lines alone are written.
TEST(ProcessCli, LinesNeverLandOnTheProgressLine) {
  for (const bool terminal : {true, false}) {
    SCOPED_TRACE(terminal);
    std::ostringstream screen;  // standard output and error on one terminal
    TerminalProgress progress(screen, terminal);
    progress.SetOverallRange(2);
    progress.SetFileText("a.wav");
    const std::string bar = screen.str();
    EXPECT_EQ(bar.empty(), !terminal);
    screen.str("");
    progress.Print(screen, "a.wav\t100.00%\ta.mp3\n", "quillo-cli: a note\n");
    EXPECT_EQ(screen.str(), (terminal ? "\r\033[K" : "") +
                                std::string("quillo-cli: a note\na.wav\t100.00%\ta.mp3\n") + bar);
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
    Child child(c.limits, args);
    ASSERT_TRUE(child.started());
    const std::vector<std::string> lines = Lines(child.ReadAll());
    const int status = child.Wait();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), c.withBig ? 1 : 0);
    ASSERT_EQ(lines.size(), small.size() + (c.withBig ? 1 : 0));
    if (c.withBig) {
      EXPECT_EQ(lines[0], big + "\t\tConversion Failure (File too large)");
    }
    std::vector<std::string> expected;
    for (const std::string& source : small) {
      const std::string name = fs::path(source).filename().string();
      expected.push_back(name);
      const test::DecodedAudio audio = test::DecodeAudio(out + "/" + name);
      EXPECT_EQ(audio.samples.size(), 4000u) << name;
      EXPECT_EQ(audio.rate, 8000);
    }
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(out))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected) << "no temporary file is left";
  }
}

}  // namespace
}  // namespace quillo
