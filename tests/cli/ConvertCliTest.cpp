#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <map>
#include <thread>
#include <tuple>

#include "backends/tags/TagReader.h"
#include "base/AsciiCase.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

class ConvertCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");

  // Converts to 16-bit WAV in `out`; returns the decoded samples of the output.
  std::vector<int16_t> ToWav(const std::string& source, std::vector<std::string> options = {}) {
    std::vector<std::string> args = {"-f", "wav", "-d", out};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(source);
    const test::CliRun run = RunCli("convert", args, config);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const std::string name = fs::path(source).stem().string() + ".wav";
    return test::DecodeWithFfmpeg((fs::path(out) / name).string());
  }
};

// A 44100 Hz mono WAV whose sample n is (n % 20000) - 10000.
std::string MakeRamp(const std::string& path, int frames) {
  std::vector<uint8_t> bytes;
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
  };
  auto put16 = [&](uint16_t v) {
    bytes.push_back(uint8_t(v));
    bytes.push_back(uint8_t(v >> 8));
  };
  bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
  put32(36 + frames * 2);
  bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put32(16);
  put16(1);
  put16(1);
  put32(44100);
  put32(88200);
  put16(2);
  put16(16);
  bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
  put32(frames * 2);
  for (int n = 0; n < frames; ++n) put16(static_cast<uint16_t>(n % 20000 - 10000));
  test::WriteFile(path, bytes);
  return path;
}

TEST_F(ConvertCli, SkipAndLengthWindowsAreSampleExact) {
  const std::string ramp = MakeRamp(dir.File("ramp.wav"), 44100 * 4 + 333);
  std::vector<int16_t> pcm = ToWav(ramp, {"--skip", "1000"});
  ASSERT_EQ(pcm.size(), 44100u * 3 + 333);
  EXPECT_EQ(pcm[0], 44100 % 20000 - 10000);
  fs::remove_all(out);
  pcm = ToWav(ramp, {"--skip", "1000", "--length", "2000"});
  ASSERT_EQ(pcm.size(), 88200u);
  EXPECT_EQ(pcm[0], 44100 % 20000 - 10000);
  EXPECT_EQ(pcm.back(), (44100 + 88199) % 20000 - 10000);
}

TEST_F(ConvertCli, SkipLongerThanTheFileFails) {
  const std::string ramp = MakeRamp(dir.File("short.wav"), 44100);
  const test::CliRun run =
      RunCli("convert", {"-f", "wav", "-d", out, "--skip", "1500", ramp}, config);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, ramp +
                         "\t\tConversion Failure (Length of the file is shorter than "
                         "skipping length set at Options -> General)\n");
  EXPECT_FALSE(fs::exists(fs::path(out) / "short.wav"));
}

TEST_F(ConvertCli, VolumeClampsAndNormalizeReachesFullScale) {
  const std::string sine = dir.File("sine.wav");
  MakeAudio(sine, "aevalsrc=0.45*sin(2*PI*441*t):s=44100:d=1");
  const std::vector<int16_t> source = test::DecodeWithFfmpeg(sine);
  const auto peak = [](const std::vector<int16_t>& v) {
    int p = 0;
    for (int16_t s : v) p = std::max(p, std::abs(int{s}));
    return p;
  };
  const int sourcePeak = peak(source);
  ASSERT_GT(sourcePeak, 8000);
  ASSERT_LT(sourcePeak, 16500);

  std::vector<int16_t> louder = ToWav(sine, {"--volume", "800"});
  ASSERT_EQ(louder.size(), source.size());
  EXPECT_EQ(*std::max_element(louder.begin(), louder.end()), 32767);
  EXPECT_EQ(*std::min_element(louder.begin(), louder.end()), -32768);
  fs::remove_all(out);

  const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", out, "--normalize", sine}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<int16_t> normalized =
      test::DecodeWithFfmpeg((fs::path(out) / "sine.wav").string());
  EXPECT_GE(peak(normalized), 32700);
  // The "Volume" cell shows the gain that was applied.
  const double gain = std::stod(Lines(run.out).at(0).substr(sine.size() + 1));
  EXPECT_NEAR(gain, 100.0 * 32767.0 / sourcePeak, 2.0);
}

TEST_F(ConvertCli, MonoModesAverageOrPickAChannel) {
  const std::string stereo = dir.File("lr.wav");
  // Left 300 Hz, right 1000 Hz.
  test::Run(
      "ffmpeg -v error -y -f lavfi -i sine=frequency=300:duration=1 -f lavfi -i "
      "sine=frequency=1000:duration=1 -filter_complex amerge=inputs=2 " +
      test::ShellQuote(stereo));
  const std::vector<int16_t> lr = test::DecodeWithFfmpeg(stereo);
  const size_t frames = lr.size() / 2;
  for (const std::string mode : {"left", "right", "avg"}) {
    fs::remove_all(out);
    const std::vector<int16_t> mono = ToWav(stereo, {"--channels", "1", "--mono", mode});
    ASSERT_EQ(mono.size(), frames) << mode;
    for (size_t i = 0; i < frames; ++i) {
      const int l = lr[2 * i], r = lr[2 * i + 1];
      const int expected = mode == "left" ? l : mode == "right" ? r : (l + r) >> 1;
      ASSERT_EQ(mono[i], expected) << mode << " frame " << i;
    }
  }
}

// The signal-to-noise ratio of a sine of `hz`: the residual after a
// least-squares fit of sine and cosine at that frequency.
double SineSnrDb(const std::vector<int16_t>& x, int stride, int rate, double hz) {
  double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
  const size_t n = x.size() / stride;
  for (size_t i = 1000; i + 1000 < n; ++i) {
    const double s = std::sin(2 * M_PI * hz * i / rate), c = std::cos(2 * M_PI * hz * i / rate);
    ss += s * s;
    sc += s * c;
    cc += c * c;
    xs += x[i * stride] * s;
    xc += x[i * stride] * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (xs * cc - xc * sc) / det, b = (xc * ss - xs * sc) / det;
  double signal = 0, noise = 0;
  for (size_t i = 1000; i + 1000 < n; ++i) {
    const double fit =
        a * std::sin(2 * M_PI * hz * i / rate) + b * std::cos(2 * M_PI * hz * i / rate);
    signal += fit * fit;
    noise += (x[i * stride] - fit) * (x[i * stride] - fit);
  }
  return 10 * std::log10(signal / noise);
}

TEST_F(ConvertCli, ResamplingKeepsTheLengthAndASineClean) {
  struct Case {
    int from;
    int channels;
    int to;
    int toChannels;
  };
  for (const Case c : {Case{8000, 1, 44100, 2}, Case{48000, 2, 44100, 2}}) {
    fs::remove_all(out);
    const std::string source = dir.File("s" + std::to_string(c.from) + ".wav");
    MakeAudio(source, "sine=frequency=1000:duration=3:sample_rate=" + std::to_string(c.from),
              "-ac " + std::to_string(c.channels) + " -af volume=0.5");
    const std::vector<int16_t> pcm =
        ToWav(source, {"--rate", std::to_string(c.to), "--channels", std::to_string(c.toChannels)});
    const double expected = 3.0 * c.to;
    EXPECT_NEAR(pcm.size() / double(c.toChannels), expected, 4.0) << c.from;
    const double snr = SineSnrDb(pcm, c.toChannels, c.to, 1000.0);
    RecordProperty("snr_db_from_" + std::to_string(c.from), std::to_string(snr));
    std::printf("SNR of a 1 kHz sine resampled %d -> %d Hz: %.1f dB\n", c.from, c.to, snr);
    EXPECT_GT(snr, 60.0) << c.from;
    if (c.channels == 1) {  // duplicated into both channels
      for (size_t i = 0; i + 1 < pcm.size(); i += 2) ASSERT_EQ(pcm[i], pcm[i + 1]);
    }
  }
}

TEST_F(ConvertCli, NamingPolicies) {
  const std::string a = MakeRamp(dir.File("a.wav"), 4410);
  auto convert = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"-f", "wav", "-d", out};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(a);
    return RunCli("convert", args, config);
  };
  EXPECT_EQ(convert({}).out, a + "\t100.00%\ta.wav\n");
  EXPECT_EQ(convert({}).out, a + "\t100.00%\ta_1.wav\n");
  EXPECT_EQ(convert({}).out, a + "\t100.00%\ta_2.wav\n");
  test::CliRun skipped = convert({"--if-exists", "skip"});
  EXPECT_EQ(skipped.out, a + "\t\tTarget exists and skipped\n");
  EXPECT_EQ(skipped.status, 0);
  const test::CliRun same =
      RunCli("convert", {"-f", "wav", "--same-folder", "--if-exists", "overwrite", a}, config);
  EXPECT_EQ(same.out, a + "\t\tTarget file name is same as original file that can't be "
                          "overwritten. Please output files to a custom folder.\n");
  EXPECT_EQ(test::ReadFile(a).size(), 44u + 8820u);  // the source is untouched

  // Keep-tree rebuilds the source's folders below the output folder.
  const test::CliRun tree = convert({"--keep-tree"});
  ASSERT_EQ(tree.status, 0) << tree.err;
  EXPECT_TRUE(fs::exists(fs::path(out + a).replace_extension(".wav"))) << tree.out;
}

// Names from tags, with hostile values, several files at once: every output
// lands inside the output folder under its expected name (the tag library's
// formats and FFmpeg's alike), and holds its own source's audio.
TEST_F(ConvertCli, NamesFromTagsStayInsideTheOutputFolder) {
  std::string longTitle;
  for (int i = 0; i < 150; ++i) longTitle += "\xC3\xA9";  // 300 bytes
  struct Row {
    const char* source;
    std::string tags;  // ffmpeg -metadata options
    std::string expected;
  };
  const std::vector<Row> rows = {
      {"a.flac",
       "-metadata artist=AC/DC -metadata album=../.. -metadata track=5/9 "
       "-metadata title=" +
           test::ShellQuote("Back\x01in\nBlack"),
       "AC_DC/___../0-05 Back_in_Black.wav"},
      {"b.flac", "-metadata artist= -metadata title=" + longTitle,
       "Unknown Artist/Unknown Album/0-00 " + longTitle.substr(0, 246) + ".wav"},
      {"c.flac",
       "-metadata album_artist=Various -metadata artist=X -metadata disc=2 "
       "-metadata track=3 -metadata album=Mix -metadata title=Song",
       "Various/Mix/2-03 Song.wav"},
      // The same tags again: renamed, as any name taken in the run.
      {"d.flac",
       "-metadata album_artist=Various -metadata disc=2 -metadata track=3 "
       "-metadata album=Mix -metadata title=Song",
       "Various/Mix/2-03 Song_1.wav"},
      // Tags the tag library cannot read come through FFmpeg.
      {"e.mka", "-c:a pcm_s16le -metadata artist=Mk -metadata title=Matroska",
       "Mk/Unknown Album/0-00 Matroska.wav"},
      {"f.wav", "", "Unknown Artist/Unknown Album/0-00 f.wav"},
  };
  std::vector<std::string> args = {
      "-f", "wav", "-d",     out,
      "-j", "2",   "--name", "{albumartist}/{album}/{disc}-{track:02} {title}"};
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string source = dir.File(rows[i].source);
    // Each source as long as its row number says, to tell the outputs apart.
    MakeAudio(source, "sine=duration=0." + std::to_string(i + 1) + ":sample_rate=22050",
              rows[i].tags);
    args.push_back(source);
  }
  const test::CliRun run = RunCli("convert", args, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;

  const fs::path folder = fs::canonical(out);
  size_t outputs = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
    if (entry.is_regular_file() && entry.path().extension() == ".wav" &&
        entry.path().parent_path() != dir.path())
      ++outputs;
  EXPECT_EQ(outputs, rows.size()) << run.out;
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].source);
    const fs::path output = fs::weakly_canonical(fs::path(out) / rows[i].expected);
    if (!fs::is_regular_file(output)) {
      ADD_FAILURE() << "no " << output << " in\n" << run.out;
      continue;
    }
    EXPECT_EQ(*output.lexically_relative(folder).begin(),
              fs::path(rows[i].expected).begin()->string());
    const test::DecodedAudio audio = test::DecodeAudio(output.string());
    EXPECT_EQ(audio.rate, 22050);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_EQ(audio.samples.size(), 2205u * (i + 1));
  }

  // A pattern that could climb out is refused before anything is converted.
  const test::CliRun refused = RunCli(
      "convert", {"-f", "wav", "-d", out, "--name", "../{title}", dir.File("f.wav")}, config);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("--name: The name pattern must not hold"), std::string::npos)
      << refused.err;
}

TEST_F(ConvertCli, FailedOverwriteLeavesTheOldTargetIntact) {
  const std::string garbage = dir.File("a.mp3");
  test::WriteFile(garbage, std::vector<uint8_t>(3000, 0x5a));
  fs::create_directories(out);
  const std::string target = out + "/a.wav";
  test::WriteFile(target, {'o', 'l', 'd'});
  const test::CliRun run =
      RunCli("convert", {"-f", "wav", "-d", out, "--if-exists", "overwrite", garbage}, config);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(test::ReadFile(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);

  const std::string good = MakeRamp(dir.File("a.wav"), 4410);
  ASSERT_EQ(
      RunCli("convert", {"-f", "wav", "-d", out, "--if-exists", "overwrite", good}, config).status,
      0);
  EXPECT_EQ(test::DecodeWithFfmpeg(target).size(), 4410u);
}

TEST_F(ConvertCli, JoinResamplesAndDuplicatesIntoOneFile) {
  const std::string mono = dir.File("m.wav");
  const std::string stereo = dir.File("s.wav");
  MakeAudio(mono, "sine=frequency=500:duration=1:sample_rate=22050");
  MakeAudio(stereo, "sine=frequency=500:duration=2:sample_rate=44100", "-ac 2");
  const std::string joined = dir.File("joined.wav");
  const test::CliRun run = RunCli("join", {"-o", joined, "-f", "wav", mono, stereo}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, mono + "\t100.00%\tjoined.wav\n" + stereo + "\t100.00%\tjoined.wav\n");
  const std::string probe = test::ProbeWithFfprobe(joined);
  EXPECT_EQ(test::FfprobeField(probe, "sample_rate"), "44100");
  EXPECT_EQ(test::FfprobeField(probe, "channels"), "2");
  EXPECT_NEAR(test::DecodeWithFfmpeg(joined).size() / 2.0, 3 * 44100.0, 8.0);

  // An existing output is refused unless overwriting was asked for.
  EXPECT_EQ(RunCli("join", {"-o", joined, "-f", "wav", mono}, config).status, 1);
  EXPECT_EQ(
      RunCli("join", {"-o", joined, "-f", "wav", "--if-exists", "overwrite", mono}, config).status,
      0);
  EXPECT_EQ(test::FfprobeField(test::ProbeWithFfprobe(joined), "sample_rate"), "22050");
  EXPECT_EQ(test::DecodeWithFfmpeg(joined).size(), 22050u);
}

TEST_F(ConvertCli, MixedRunGivesEachFileItsStatusAndLeavesNoPartialOutput) {
  const std::string good = MakeRamp(dir.File("good.wav"), 44100);
  const std::string garbage = dir.File("garbage.mp3");
  test::WriteFile(garbage, std::vector<uint8_t>(5000, 0x33));
  const std::string silent = dir.File("video.mp4");
  test::Run("ffmpeg -v error -y -f lavfi -i testsrc=duration=1:size=32x32 " +
            test::ShellQuote(silent));
  const auto before = test::ReadFile(garbage);
  const test::CliRun run =
      RunCli("convert", {"-f", "mp3", "-d", out, good, garbage, silent}, config);
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_EQ(lines[0], good + "\t100.00%\tgood.mp3");
  EXPECT_EQ(lines[1].rfind(garbage + "\t\tConversion Failure", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], silent + "\t\tNo audio in the file");
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
  EXPECT_EQ(test::ReadFile(garbage), before);
  EXPECT_NEAR(test::DecodeWithFfmpeg(out + "/good.mp3").size(), 44100.0, 1152.0 + 1105.0);
}

TEST_F(ConvertCli, RenderedSongsStopAtTheirEndAtTheOutputRate) {
  const std::string song = dir.File("song.mid");
  test::WriteFile(song, test::TwoNoteSong());  // 1.5 s
  const std::string module = dir.File("square.mod");
  test::WriteFile(module, test::SquareModule());  // 7.68 s
  for (int rate : {44100, 22050}) {
    fs::remove_all(out);
    const std::vector<int16_t> midi = ToWav(song, {"--rate", std::to_string(rate)});
    EXPECT_EQ(midi.size(), static_cast<size_t>(rate) * 3 / 2 * 2) << rate;
    const std::vector<int16_t> mod = ToWav(module, {"--rate", std::to_string(rate)});
    EXPECT_NEAR(mod.size() / 2.0, 7.68 * rate, rate * 0.01) << rate;
    int peak = 0;
    for (int16_t s : midi) peak = std::max(peak, std::abs(int{s}));
    EXPECT_GT(peak, 1000) << "the song is audible";
  }
}

// The source's tags arrive in each tag format as ffprobe reads them (keys in
// any letter case, container or stream tags) and as TagLib reads them.
TEST_F(ConvertCli, SourceTagsTravelToEachTagFormat) {
  const std::string source = dir.File("tagged.mp3");
  test::Run(
      "ffmpeg -v error -y -f lavfi -i sine=duration=1 -c:a libmp3lame -id3v2_version 3 "
      "-metadata title='Grüße aus Köln' -metadata artist='Ümit 日本' -metadata album=Zoë "
      "-metadata date=2001 -metadata track=7 -metadata genre=Jazz " +
      test::ShellQuote(source));
  const std::vector<std::pair<std::string, std::string>> expected = {{"title", "Grüße aus Köln"},
                                                                     {"artist", "Ümit 日本"},
                                                                     {"album", "Zoë"},
                                                                     {"genre", "Jazz"},
                                                                     {"track", "7"}};
  for (const std::string format : {"mp3", "6500", "opus", "wv"}) {
    SCOPED_TRACE(format);
    const test::CliRun run = RunCli("convert", {"-f", format, "-d", out, source}, config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string name = Lines(run.out).at(0).substr(Lines(run.out).at(0).rfind('\t') + 1);
    const std::string output = out + "/" + name;
    std::map<std::string, std::string> probed;
    for (const std::string& line :
         Lines(test::Capture("ffprobe -v error -show_entries format_tags:stream_tags "
                             "-of default=noprint_wrappers=1 " +
                             test::ShellQuote(output)))) {
      const size_t colon = line.find(':'), equals = line.find('=');
      if (colon < equals && equals != std::string::npos)
        probed[AsciiLower(line.substr(colon + 1, equals - colon - 1))] = line.substr(equals + 1);
    }
    for (const auto& [key, value] : expected) EXPECT_EQ(probed[key], value) << key;

    audio::TagFields fields;
    ASSERT_TRUE(audio::ReadTagFields(output, fields));
    EXPECT_EQ(std::tuple(fields.title, fields.artist, fields.album, fields.genre, fields.year,
                         fields.track),
              std::tuple("Grüße aus Köln", "Ümit 日本", "Zoë", "Jazz", "2001", "7"));
  }
}

TEST_F(ConvertCli, InterruptCancelsAndLeavesNoPartialOutput) {
  const std::string source = dir.File("long.wav");
  MakeAudio(source, "sine=duration=240:sample_rate=44100", "-ac 2");
  const std::string other = MakeRamp(dir.File("next.wav"), 4410);
  // Ctrl+C while the first file converts, as a user would press it; a kill
  // and a closed terminal cancel the same way. One file at a time, as the
  // window converts.
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    std::thread interrupt([signal] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      std::raise(signal);
    });
    const test::CliRun run =
        RunCli("convert", {"-f", "mp3", "-d", out, "-j", "1", source, other}, config);
    interrupt.join();
    EXPECT_EQ(run.status, 1);
    // The second file is not reached, and says so.
    EXPECT_EQ(run.out, source + "\t\tCancelled\n" + other + "\t\tCancelled\n");
    EXPECT_TRUE(!fs::exists(out) || fs::is_empty(out)) << "no output, no temporary file";
  }
  // A join's files that already went in are lost with its output: they say
  // cancelled, not ok.
  std::thread interrupt([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::raise(SIGINT);
  });
  const std::string joined = out + "/joined.mp3";
  fs::create_directories(out);
  const test::CliRun join = RunCli("join", {"--json", "-o", joined, other, source}, config);
  interrupt.join();
  EXPECT_EQ(join.status, 1);
  ASSERT_EQ(Lines(join.out).size(), 2u) << join.out;
  for (const std::string& line : Lines(join.out))
    EXPECT_NE(line.find("\"state\": \"cancelled\""), std::string::npos) << line;
  EXPECT_TRUE(fs::is_empty(out)) << "no output, no temporary file";

  // The handler is gone afterwards: the next run converts normally.
  EXPECT_EQ(RunCli("convert", {"-f", "wav", "-d", out, other}, config).status, 0);
}

// The "Output" cell names an output by its name only when it is in the
// folder the user named with -d; anywhere else (beside the source, in a kept
// tree, in the documents folder when no folder was named) by its whole path.
TEST_F(ConvertCli, TheOutputCellGivesTheWholePathOutsideTheNamedFolder) {
  const std::string home = dir.File("home");
  fs::create_directories(home);
  test::ScopedEnv homeEnv("HOME", home.c_str());
  test::ScopedEnv xdg("XDG_CONFIG_HOME", (home + "/.config").c_str());
  const std::string source = dir.File("src/a.wav");
  fs::create_directories(dir.File("src"));
  MakeAudio(source, "sine=frequency=440:sample_rate=8000:duration=0.5");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-d", out}, "a.flac"},
      {{"-d", out + "/"}, "a.flac"},
      {{"-d", dir.File("src/../out")}, "a.flac"},
      {{"--same-folder"}, dir.File("src/a.flac")},
      {{"-d", out, "--keep-tree"}, out + dir.File("src/a.flac")},
      {{}, home + "/Documents/a.flac"},
  };
  for (const auto& [options, cell] : cases) {
    SCOPED_TRACE(::testing::PrintToString(options));
    std::vector<std::string> args = {"-f", "flac", "--if-exists", "overwrite"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(source);
    const test::CliRun run = RunCli("convert", args, config);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out, source + "\t100.00%\t" + cell + "\n");
    const std::string written = cell.front() == '/' ? cell : out + "/" + cell;
    const test::DecodedAudio audio = test::DecodeAudio(written);
    EXPECT_EQ(audio.rate, 8000);
    EXPECT_EQ(audio.samples.size(), 4000u);
    fs::remove(written);
  }
}

TEST(ConvertCliUsage, BadOptionsAreUsageErrors) {
  test::TempDir dir;
  const std::string config = dir.File("q.conf");
  EXPECT_EQ(RunCli("convert", {"--bogus", "x.wav"}, config).status, 2);
  EXPECT_EQ(RunCli("convert", {"--volume"}, config).status, 2);
  EXPECT_EQ(RunCli("convert", {"--if-exists", "never", "x.wav"}, config).status, 2);
  EXPECT_EQ(RunCli("join", {"x.wav"}, config).status, 2);
  const test::CliRun m4a = RunCli("convert", {"-f", "m4a", "x.wav"}, config);
  EXPECT_EQ(m4a.status, 2);
  EXPECT_NE(m4a.err.find("6100"), std::string::npos);
  EXPECT_NE(m4a.err.find("6200"), std::string::npos);
  EXPECT_NE(m4a.err.find("6500"), std::string::npos);
}

}  // namespace
}  // namespace quillo
