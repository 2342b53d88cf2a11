// What a user with bad luck meets: a full disk, a killed run, a FIFO, odd
// names, damaged or unusual files. Nothing may be lost or reported wrongly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <tuple>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// Lets this process write files of at most `bytes`, as a nearly full disk or
// a quota would; a write past it fails with EFBIG instead of killing us.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }

 private:
  rlimit old_{};
  void (*handler_)(int) = nullptr;
};

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class DataSafety : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");

  std::string Tone(const std::string& name, int seconds, const std::string& extra = "-ac 2") {
    const std::string path = dir.File(name);
    MakeAudio(path, "sine=frequency=440:sample_rate=44100:duration=" + std::to_string(seconds),
              extra);
    return path;
  }
};

TEST_F(DataSafety, AFailingWriteFailsTheFileAndKeepsTheOldTarget) {
  const std::string a = Tone("a.wav", 10);
  const std::string b = Tone("b.wav", 10);
  struct Case {
    std::string command, format, target;
  };
  const std::vector<Case> cases = {
      {"convert", "mp3", "a.mp3"}, {"convert", "wav", "a.wav"}, {"join", "wav", "joined.wav"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command + " " + c.format);
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string target = out + "/" + c.target;
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    std::vector<std::string> args = {"-f", c.format, "--if-exists", "overwrite"};
    if (c.command == "join")
      args.insert(args.end(), {"-o", target, a, b});
    else
      args.insert(args.end(), {"-d", out, a});

    for (bool withOldTarget : {true, false}) {
      if (withOldTarget) test::WriteFile(target, old);
      test::CliRun run;
      {
        FileSizeLimit limit(100 * 1024);  // a tenth of what the outputs need
        run = RunCli(c.command, args, config);
      }
      EXPECT_EQ(run.status, 1) << run.out << run.err;
      EXPECT_NE(Lines(run.out).at(0).find("Conversion Failure (File too large)"), std::string::npos)
          << run.out;
      if (withOldTarget) {
        EXPECT_EQ(test::ReadFile(target), old);
        EXPECT_EQ(Names(out), std::vector<std::string>{c.target});
        fs::remove(target);
      } else {
        EXPECT_TRUE(Names(out).empty()) << "no partial output, no temporary file";
      }
    }
  }
}

// A join over an old file the user agreed to replace replaces it when the
// join holds audio, the failing files skipped with their reasons; the old
// file survives a join with no audio at all.
TEST_F(DataSafety, AJoinReplacesAnOldFileWhenItHoldsAudio) {
  const std::string good = Tone("good.wav", 1);
  const std::string second = Tone("second.wav", 2);
  const std::string garbage = dir.File("garbage.mp3");
  test::WriteFile(garbage, std::vector<uint8_t>(4000, 0x33));
  const std::string target = dir.File("joined.wav");
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  test::WriteFile(target, old);
  const size_t names = Names(dir.path().string()).size();
  const test::CliRun none =
      RunCli("join", {"-o", target, "--if-exists", "overwrite", garbage}, config);
  EXPECT_EQ(none.status, 1) << none.out;
  EXPECT_EQ(test::ReadFile(target), old);
  EXPECT_EQ(Names(dir.path().string()).size(), names) << "no temporary file is left";

  const test::CliRun partial =
      RunCli("join", {"-o", target, "--if-exists", "overwrite", good, garbage, second}, config);
  EXPECT_EQ(partial.status, 1) << partial.out;
  std::vector<int16_t> expected = test::DecodeWithFfmpeg(good);
  const std::vector<int16_t> after = test::DecodeWithFfmpeg(second);
  expected.insert(expected.end(), after.begin(), after.end());
  EXPECT_EQ(test::DecodeWithFfmpeg(target), expected);
  // The skipped file's line says why; the good files' lines name the target.
  std::istringstream lines(partial.out);
  std::string line;
  int failures = 0;
  while (std::getline(lines, line)) {
    if (line.find("Conversion Failure") == std::string::npos) continue;
    ++failures;
    EXPECT_NE(line.find("garbage.mp3"), std::string::npos) << line;
    EXPECT_NE(line.find("Conversion Failure ("), std::string::npos) << line;
  }
  EXPECT_EQ(failures, 1) << partial.out;
  EXPECT_EQ(Names(dir.path().string()).size(), names) << "no temporary file is left";
}

TEST_F(DataSafety, ASampleRateNoRecordingHasIsRefused) {
  const std::string source = Tone("rate.wav", 1, "-ac 1 -c:a pcm_s16le");
  std::vector<uint8_t> bytes = test::ReadFile(source);
  ASSERT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "fmt ");
  for (const uint8_t rate : {0, 1}) {
    // The rate field of the fmt chunk, and the byte rate after it.
    for (int i = 24; i < 32; ++i) bytes[i] = 0;
    bytes[24] = rate;
    bytes[28] = static_cast<uint8_t>(rate * 2);
    test::WriteFile(source, bytes);
    const test::CliRun run = RunCli("convert", {"-f", "mp3", "-d", out, source}, config);
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("\t\tConversion Failure"), std::string::npos) << run.out;
    if (rate == 1) {
      EXPECT_NE(run.out.find("(Unsupported sample rate of 1 Hz)"), std::string::npos) << run.out;
    }
    std::ostringstream probeOut, probeErr;
    EXPECT_EQ(RunProbe({source}, test::Backends(), probeOut, probeErr), 1) << probeOut.str();
    EXPECT_TRUE(Names(out).empty());
  }
}

TEST_F(DataSafety, InputsThatAreNotFilesAreRefusedAtOnceWithTheReason) {
  const std::string fifo = dir.File("x.wav");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, std::string> inputs[] = {
      {fifo, "Not a regular file"}, {dir.File("gone.mp3"), "No such file or directory"}};
  for (const auto& [path, reason] : inputs) {
    for (const std::string command : {"probe", "convert"}) {
      SCOPED_TRACE(command + " " + path);
      auto run = std::async(std::launch::async, [&] {
        std::ostringstream o, e;
        const int status = command == "probe"
                               ? RunProbe({path}, test::Backends(), o, e)
                               : RunConvert({"-f", "mp3", "-d", out, "--config", config, path},
                                            test::Backends(), o, e);
        return std::make_tuple(status, o.str(), e.str());
      });
      if (run.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        // Free the blocked reader so that the test can end, then fail.
        close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        FAIL() << "blocked on the FIFO";
      }
      const auto [status, output, errors] = run.get();
      EXPECT_EQ(status, 1);
      if (command == "convert") {
        EXPECT_EQ(output, path + "\t\tConversion Failure (" + reason + ")\n");
      } else {
        EXPECT_NE(errors.find(reason), std::string::npos) << errors;
      }
    }
  }
}

TEST_F(DataSafety, FilesOfOneRunNeverReplaceEachOther) {
  const std::string wav = Tone("song.wav", 1);
  const std::string mp3 = Tone("song.mp3", 2);
  const test::CliRun run =
      RunCli("convert", {"-f", "flac", "-d", out, "--if-exists", "overwrite", wav, mp3}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, wav + "\t100.00%\tsong.flac\n" + mp3 + "\t100.00%\tsong_1.flac\n");
  EXPECT_EQ(test::DecodeWithFfmpeg(out + "/song.flac").size(), 2u * 44100);
  EXPECT_NEAR(test::DecodeWithFfmpeg(out + "/song_1.flac").size(), 4.0 * 44100, 2 * 1152.0);
}

TEST_F(DataSafety, JoinTakesItsFormatFromTheOutputName) {
  const std::string a = Tone("a.wav", 1);
  const test::CliRun flac = RunCli("join", {"-o", dir.File("x.flac"), a}, config);
  ASSERT_EQ(flac.status, 0) << flac.err;
  EXPECT_EQ(test::FfprobeField(test::ProbeWithFfprobe(dir.File("x.flac")), "codec_name"), "flac");
  EXPECT_EQ(test::DecodeWithFfmpeg(dir.File("x.flac")), test::DecodeWithFfmpeg(a));
  // A format that contradicts the name, or a name no format has, is refused.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-f", "mp3", "-o", dir.File("y.flac"), a},
        std::vector<std::string>{"-o", dir.File("y.dat"), a}}) {
    const test::CliRun refused = RunCli("join", args, config);
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_FALSE(fs::exists(dir.File("y.flac")) || fs::exists(dir.File("y.dat")));
  }
}

TEST_F(DataSafety, OutputsOutsideTheChosenFolderArePrintedWhole) {
  const std::string a = Tone("a.wav", 1);
  const std::string notAFolder = dir.File("file");
  test::WriteFile(notAFolder, {1});
  const std::string home = dir.File("home");
  fs::create_directories(home);
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  setenv("HOME", home.c_str(), 1);
  const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", notAFolder, a}, config);
  setenv("HOME", savedHome.c_str(), 1);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string landed = home + "/Documents/a.wav";
  EXPECT_EQ(run.out, a + "\t100.00%\t" + landed + "\n");
  EXPECT_NE(run.err.find("Failed to create folder \"" + notAFolder + "\""), std::string::npos)
      << run.err;
  EXPECT_EQ(test::DecodeWithFfmpeg(landed).size(), 2u * 44100);
}

TEST_F(DataSafety, ControlCharactersInNamesAreEscaped) {
  const std::string odd = Tone("a\tb\nc\x1b[2J.wav", 1);
  const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", out, odd}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string escaped = "a\\tb\\nc\\x1b[2J";
  EXPECT_EQ(run.out, dir.File(escaped + ".wav") + "\t100.00%\t" + escaped + ".wav\n");
  EXPECT_TRUE(fs::exists(out + "/a\tb\nc\x1b[2J.wav"));
}

TEST_F(DataSafety, WavInfoTagsReachTheOutput) {
  // ffmpeg writes the track as ITRK/IPRT and the genre as given: "(17)" is Rock.
  const std::string source = Tone("tagged.wav", 1,
                                  "-ac 2 -metadata title=Song -metadata track=7 "
                                  "-metadata genre='(17)'");
  const test::CliRun run = RunCli("convert", {"-f", "mp3", "-d", out, source}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string tags = test::Capture(
      "ffprobe -v error -show_entries format_tags=title,track,genre -of "
      "default=noprint_wrappers=1 " +
      test::ShellQuote(out + "/tagged.mp3"));
  EXPECT_NE(tags.find("title=Song"), std::string::npos) << tags;
  EXPECT_NE(tags.find("track=7"), std::string::npos) << tags;
  EXPECT_NE(tags.find("genre=Rock"), std::string::npos) << tags;
}

TEST_F(DataSafety, DtsInsideRiffIsDecodedNotPreprocessed) {
  const std::string dts = dir.File("movie.dts");
  test::Run(
      "ffmpeg -v error -y -f lavfi -i sine=sample_rate=48000:duration=3 -ac 2 -c:a dca "
      "-strict -2 -f wav " +
      test::ShellQuote(dts));
  const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", out, dts}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NEAR(test::DecodeWithFfmpeg(out + "/movie.wav").size() / 2.0, 3.0 * 48000, 48000 * 0.1);
}

TEST_F(DataSafety, SettingsAndMessagesSayWhatTheyMean) {
  const std::string a = Tone("a.wav", 1);
  // A relative output folder is stored as the absolute folder it meant.
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  const test::CliRun saved = RunCli("convert", {"-f", "wav", "-d", "rel", "--save", a}, config);
  fs::current_path(before);
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_NE(test::Capture("cat " + test::ShellQuote(config))
                .find("DestSpecifiedFolder=" + dir.File("rel")),
            std::string::npos);

  // A hand-edited negative length reads as the default (no length), so the
  // whole file converts rather than every file failing.
  const std::string text = "[Options]\nEnableConvertLength=1\nConvertLength=-5\n";
  test::WriteFile(config, std::vector<uint8_t>(text.begin(), text.end()));
  const test::CliRun negative = RunCli("convert", {"-f", "wav", "-d", out, a}, config);
  EXPECT_EQ(negative.status, 0) << negative.out;
  EXPECT_EQ(test::DecodeWithFfmpeg(out + "/a.wav").size(), test::DecodeWithFfmpeg(a).size());
  fs::remove(out + "/a.wav");

  // A stored mono mode that is none of the three reads as the default mix
  // of both channels.
  const std::string leftOnly = dir.File("left.wav");
  MakeAudio(leftOnly, "aevalsrc=0.5*sin(2*PI*440*t)|0:s=44100:d=1");
  const std::string mono = "[Options]\nMonoType=7\n";
  test::WriteFile(config, std::vector<uint8_t>(mono.begin(), mono.end()));
  const test::CliRun folded = RunCli(
      "convert", {"-f", "wav", "--channels", "1", "--rate", "44100", "-d", out, leftOnly}, config);
  ASSERT_EQ(folded.status, 0) << folded.err;
  const std::vector<int16_t> source = test::DecodeWithFfmpeg(leftOnly);
  const std::vector<int16_t> written = test::DecodeWithFfmpeg(out + "/left.wav");
  ASSERT_EQ(written.size() * 2, source.size());
  for (size_t i = 0; i < written.size(); i += 997)
    ASSERT_NEAR(written[i], (source[2 * i] + source[2 * i + 1]) / 2, 1) << i;
}

// A settings file that is not ours to rewrite is named; --save then fails
// before anything is converted and leaves it as it was. Without --save, the
// values a file with a typo still holds are used.
TEST_F(DataSafety, SaveNeverWritesOverWhatIsNoSettingsFileOfOurs) {
  const std::string a = Tone("a.wav", 1);
  const std::string flac = dir.File("song.flac");
  MakeAudio(flac, "sine=duration=0.5");
  const std::string halved = "[Options]\nVolume=50\nVolumeType=1\n";
  const std::string readOnly = dir.File("read-only.conf"), typo = dir.File("typo.conf");
  std::ofstream(readOnly) << halved;
  std::ofstream(typo) << halved << "[ID3\nTitle=x\n";
  ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);

  const struct {
    std::string config;
    const char* reason;
  } cases[] = {{flac, "binary data"}, {readOnly, "is read-only"}, {typo, "cannot be read"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.config);
    const std::vector<uint8_t> before = test::ReadFile(c.config);
    const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", out, "--save", a}, c.config);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("\"" + c.config + "\" "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_TRUE(test::ReadFile(c.config) == before) << "the file was changed";
    EXPECT_FALSE(fs::exists(out + "/a.wav"));
  }

  const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", out, a}, typo);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find(typo), std::string::npos) << "[" << run.err << "]" << run.out;
  const std::vector<int16_t> source = test::DecodeWithFfmpeg(a);
  const std::vector<int16_t> written = test::DecodeWithFfmpeg(out + "/a.wav");
  ASSERT_EQ(written.size(), source.size());
  for (size_t i = 0; i < written.size(); i += 997) ASSERT_NEAR(written[i], source[i] / 2, 1) << i;
}

}  // namespace
}  // namespace quillo
