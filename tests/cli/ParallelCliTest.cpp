// Several files at once: the same outputs, names and lines as one at a time,
// and a cancel that stops every running file.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// Every file below `folder` by name, with its bytes.
std::map<std::string, std::vector<uint8_t>> Outputs(const std::string& folder) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& entry : fs::directory_iterator(folder))
    files[entry.path().filename().string()] = test::ReadFile(entry.path().string());
  return files;
}

TEST(ParallelCli, JobsGiveTheOutputsAndLinesOfOneAtATime) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  fs::create_directories(dir.File("one"));
  fs::create_directories(dir.File("two"));
  // Two sources of one name from different folders, a long one first so that
  // the second finishes first; garbage; a video without audio; a third tone.
  const std::string longA = dir.File("one/a.wav");
  MakeAudio(longA, "sine=frequency=440:duration=6", "-ac 2");
  const std::string shortA = dir.File("two/a.wav");
  MakeAudio(shortA, "sine=frequency=880:duration=1");
  const std::string garbage = dir.File("junk.mp3");
  test::WriteFile(garbage, std::vector<uint8_t>(4000, 0x5a));
  const std::string video = dir.File("video.mp4");
  test::Run("ffmpeg -v error -y -f lavfi -i testsrc=duration=1:size=32x32 " +
            test::ShellQuote(video));
  const std::string tone = dir.File("b.flac");
  MakeAudio(tone, "sine=frequency=300:duration=2");
  const std::vector<std::string> inputs = {longA, shortA, garbage, video, tone};

  std::map<std::string, std::vector<uint8_t>> first;
  std::vector<std::string> firstLines;
  for (const std::string jobs : {"1", "2", "4"}) {
    SCOPED_TRACE(jobs);
    const std::string out = dir.File("out" + jobs);
    std::vector<std::string> args = {"-f", "mp3", "-d", out, "-j", jobs};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const test::CliRun run = RunCli("convert", args, config);
    EXPECT_EQ(run.status, 1) << run.err;
    std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), inputs.size()) << run.out;
    EXPECT_EQ(lines[0], longA + "\t100.00%\ta.mp3");  // names follow input order
    EXPECT_EQ(lines[1], shortA + "\t100.00%\ta_1.mp3");
    EXPECT_EQ(lines[3], video + "\t\tNo audio in the file");
    const std::map<std::string, std::vector<uint8_t>> outputs = Outputs(out);
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_NEAR(test::DecodeWithFfmpeg(out + "/a.mp3").size(), 6.0 * 44100 * 2, 2 * 2400.0);
    if (first.empty()) {
      first = outputs;
      firstLines = lines;
    } else {
      EXPECT_EQ(outputs, first) << "byte-identical outputs";
      EXPECT_EQ(lines, firstLines);
    }
  }
}

TEST(ParallelCli, InterruptStopsEveryRunningFile) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  const std::string out = dir.File("out");
  const std::string first = dir.File("first.wav");
  const std::string second = dir.File("second.wav");
  MakeAudio(first, "sine=duration=240", "-ac 2");
  MakeAudio(second, "sine=duration=240", "-ac 2");
  const std::string old = out + "/second.mp3";
  fs::create_directories(out);
  test::WriteFile(old, {1, 2, 3});
  std::thread interrupt([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::raise(SIGINT);
  });
  const test::CliRun run = RunCli(
      "convert", {"-f", "mp3", "-d", out, "-j", "2", "--if-exists", "overwrite", first, second},
      config);
  interrupt.join();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, first + "\t\tCancelled\n" + second + "\t\tCancelled\n");
  EXPECT_EQ(Outputs(out).size(), 1u) << "no output and no temporary file";
  EXPECT_EQ(test::ReadFile(old), (std::vector<uint8_t>{1, 2, 3})) << "the old target survives";
}

}  // namespace
}  // namespace quillo
