#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::MakeMedia;
using test::ProbeEntry;

class WmCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");

  std::string Output(const std::string& source, const std::string& extension) const {
    return (fs::path(out) / (fs::path(source).stem().string() + "." + extension)).string();
  }
};

TEST_F(WmCli, FilesMadeByFfmpegProbeAndConvertToWav) {
  struct Case {
    const char* name;
    const char* arguments;
    const char* row;  // what probe lists: duration, bit rate, rate, channels
  } cases[] = {
      {"v1.asf", "-f lavfi -i sine=f=500:r=22050:d=2.5 -c:a wmav1 -b:a 32k",
       "00:02\t32 kbps\t22050 Hz\tMono"},
      {"v2a.wma", "-f lavfi -i sine=f=700:r=44100:d=3 -ac 2 -c:a wmav2 -b:a 96k",
       "00:03\t96 kbps\t44100 Hz\tStereo"},
      {"v2b.wm", "-f lavfi -i sine=f=900:r=32000:d=1.2 -c:a wmav2 -b:a 48k -f asf",
       "00:01\t48 kbps\t32000 Hz\tMono"},
      {"video.wmv",
       "-f lavfi -i testsrc=s=160x120:r=10:d=2 -f lavfi -i sine=f=440:r=48000:d=2 "
       "-map 0:v -map 1:a -ac 2 -c:v wmv2 -c:a wmav2 -b:a 128k",
       "00:02\t128 kbps\t48000 Hz\tStereo"},
  };
  std::vector<std::string> paths;
  std::string expectedProbe;
  for (const Case& c : cases) {
    paths.push_back(dir.File(c.name));
    ASSERT_TRUE(MakeMedia(c.arguments, paths.back())) << c.name;
    expectedProbe += paths.back() + "\t" + c.name + "\t" + c.row + "\n";
  }
  std::ostringstream probeOut, probeErr;
  EXPECT_EQ(RunProbe(paths, test::Backends(), probeOut, probeErr), 0) << probeErr.str();
  EXPECT_EQ(probeOut.str(), expectedProbe);

  std::vector<std::string> args = {"-f", "wav", "-d", out};
  args.insert(args.end(), paths.begin(), paths.end());
  const test::CliRun run = RunCli("convert", args, config);
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  for (const std::string& path : paths) {
    const std::vector<int16_t> expected = test::DecodeWithFfmpeg(path);
    const std::vector<int16_t> converted = test::DecodeWithFfmpeg(Output(path, "wav"));
    EXPECT_EQ(converted.size(), expected.size()) << path;
    EXPECT_LE(test::MaxDifference(converted, expected), 1) << path;
  }
}

TEST_F(WmCli, AttributesTransferToMp3) {
  // The year as Windows Media files keep it: only the Windows Media source
  // reads it.
  const std::string source = dir.File("tags.wma");
  ASSERT_TRUE(
      MakeMedia("-f lavfi -i sine=d=1 -c:a wmav2 -metadata title=Título -metadata "
                "artist=Ar -metadata track=7/12 -metadata WM/Year=1999 -metadata "
                "genre=Jazz -metadata composer=Cm",
                source));
  const test::CliRun run = RunCli("convert", {"-f", "mp3", "-d", out, source}, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const std::string mp3 = Output(source, "mp3");
  for (const auto& [key, value] : {std::pair{"title", "Título"},
                                   {"artist", "Ar"},
                                   {"track", "7"},
                                   {"date", "1999"},
                                   {"genre", "Jazz"},
                                   {"composer", "Cm"}})
    EXPECT_EQ(ProbeEntry(mp3, std::string("format_tags=") + key, std::string("TAG:") + key), value)
        << key;
}

TEST_F(WmCli, WavToEachRowGivesThePickedFormat) {
  struct Case {
    const char* row;
    std::vector<std::string> options;
    int sourceRate, sourceChannels;
    int rate, channels, bitRate;
    const char* track;  // the track tag written, "" for none
  } cases[] = {
      // The writer is given the source's 22050 Hz and converts it.
      {"7100", {"--auto", "--track", "5"}, 22050, 2, 44100, 2, 64000, "5"},
      {"7200", {"--auto", "--track", "none"}, 44100, 1, 44100, 1, 48000, ""},
      {"7300",
       {"--rate", "32000", "--bitrate", "48", "--channels", "1"},  // kbps
       44100,
       2,
       32000,
       1,
       48000,
       ""},
      {"7100",
       {"--rate", "48000", "--bitrate", "192000", "--channels", "2", "--track", "12"},
       16000,
       1,
       48000,
       2,
       192000,
       "12"},
      // The 20000 bit/s the automatic choice asks for is not offered.
      {"7100", {"--auto"}, 8000, 1, 22050, 1, 24000, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.row) + " from " + std::to_string(c.sourceRate));
    const std::string source = dir.File("s" + std::to_string(c.sourceRate) + ".wav");
    MakeAudio(source, "sine=f=1000:r=" + std::to_string(c.sourceRate) + ":d=2",
              "-ac " + std::to_string(c.sourceChannels));
    std::vector<std::string> args = {
        "-f",        c.row, "-d",         out,  "--if-exists", "overwrite", "--title", "Tí",
        "--artist",  "Ar",  "--album",    "Al", "--genre",     "Jazz",      "--year",  "2001",
        "--comment", "Co",  "--composer", "Cm", "--copyright", "Cp"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(source);
    const test::CliRun run = RunCli("convert", args, config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string extension = c.row == std::string("7100")   ? "wma"
                                  : c.row == std::string("7200") ? "wmv"
                                                                 : "asf";
    const std::string output = Output(source, extension);

    const std::string probe = test::ProbeWithFfprobe(output);
    EXPECT_EQ(test::FfprobeField(probe, "format_name"), "asf");
    EXPECT_EQ(test::FfprobeField(probe, "codec_name"), "wmav2");
    EXPECT_EQ(test::FfprobeField(probe, "sample_rate"), std::to_string(c.rate));
    EXPECT_EQ(test::FfprobeField(probe, "channels"), std::to_string(c.channels));
    EXPECT_EQ(ProbeEntry(output, "stream=bit_rate", "bit_rate"), std::to_string(c.bitRate));
    const std::vector<int16_t> pcm = test::DecodeWithFfmpeg(output);
    const size_t frames = pcm.size() / static_cast<size_t>(c.channels);
    // Two seconds, and at most two encoder frames of silence after them.
    EXPECT_GE(frames, static_cast<size_t>(2 * c.rate));
    EXPECT_LE(frames, static_cast<size_t>(2 * c.rate + 2 * 2048));
    EXPECT_NEAR(test::CrossingsPerSecond(pcm, c.channels, c.rate), 2000.0, 20.0);

    for (const auto& [key, value] : {std::pair{"title", "Tí"},
                                     {"artist", "Ar"},
                                     {"album_artist", "Ar"},
                                     {"album", "Al"},
                                     {"genre", "Jazz"},
                                     {"WM/Year", "2001"},
                                     {"comment", "Co"},
                                     {"composer", "Cm"},
                                     {"copyright", "Cp"},
                                     {"track", c.track}})
      EXPECT_EQ(ProbeEntry(output, std::string("format_tags=") + key, std::string("TAG:") + key),
                value)
          << key;
  }
}

TEST_F(WmCli, EverySampleOfTheSourceStaysInPlace) {
  // Silence, then a tone from a known onset to the last sample. Decoded by
  // ffmpeg and by our own reader (converting the output back to WAV), the
  // onset is where it was and the tone reaches the end at full level; the
  // output is the source rounded up to whole encoder frames, plus the one
  // frame that completes the last of them.
  struct Case {
    const char* row;
    int rate;
    const char* bitRate;
    int frameSize;  // samples per wmav2 frame at this rate
  } cases[] = {{"7100", 44100, "64000", 2048}, {"7300", 8000, "32000", 512}};
  constexpr double kOnsetSeconds = 0.05;
  constexpr double kPeak = 0.5 * 32768;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    const std::string source = dir.File("onset" + std::to_string(c.rate) + ".wav");
    const int frames = c.rate;
    MakeAudio(source, "aevalsrc='if(lt(t," + std::to_string(kOnsetSeconds) +
                          "),0,0.5*sin(2*PI*440*t))':s=" + std::to_string(c.rate) +
                          ":n=" + std::to_string(frames) + ":d=1");
    const test::CliRun run =
        RunCli("convert",
               {"-f", c.row, "-d", out, "--if-exists", "overwrite", "--rate",
                std::to_string(c.rate), "--bitrate", c.bitRate, "--channels", "1", source},
               config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string output = Output(source, c.row == std::string("7100") ? "wma" : "asf");
    const std::string back = dir.File("back");
    const test::CliRun again =
        RunCli("convert", {"-f", "wav", "-d", back, "--if-exists", "overwrite", output}, config);
    ASSERT_EQ(again.status, 0) << again.out << again.err;

    const int wholeFrames = (frames + c.frameSize - 1) / c.frameSize;
    const std::vector<int16_t> byFfmpeg = test::DecodeWithFfmpeg(output);
    const std::vector<int16_t> byOurs =
        test::DecodeWithFfmpeg((fs::path(back) / fs::path(output).stem()).string() + ".wav");
    for (const std::vector<int16_t>* pcm : {&byFfmpeg, &byOurs}) {
      ASSERT_GE(pcm->size(), static_cast<size_t>(frames));
      EXPECT_LE(pcm->size(), static_cast<size_t>((wholeFrames + 1) * c.frameSize));
      const auto onset = std::find_if(pcm->begin(), pcm->end(),
                                      [&](int16_t v) { return std::abs(v) > kPeak / 2; });
      const double onsetSeconds = static_cast<double>(onset - pcm->begin()) / c.rate;
      EXPECT_NEAR(onsetSeconds, kOnsetSeconds, 0.003);
      // The last 10 ms of the source hold the whole tone.
      const auto tail = static_cast<size_t>(c.rate / 100);
      double sum = 0;
      for (size_t i = static_cast<size_t>(frames) - tail; i < static_cast<size_t>(frames); ++i)
        sum += std::pow((*pcm)[i], 2);
      EXPECT_NEAR(std::sqrt(sum / static_cast<double>(tail)) / (kPeak / std::sqrt(2.0)), 1.0, 0.15);
    }
  }
}

TEST_F(WmCli, OneFormatChannelFromAPairWhoseChannelsDiffer) {
  // The right channel is the left one inverted: their mix is silence.
  const std::string source = dir.File("pair.wav");
  MakeAudio(source, "aevalsrc=0.5*sin(2*PI*1000*t)|-0.5*sin(2*PI*1000*t):s=44100:d=1");
  std::vector<std::vector<int16_t>> outputs;
  for (const char* mono : {"avg", "left", "right"}) {
    const test::CliRun run =
        RunCli("convert",
               {"-f", "wma", "-d", out, "--if-exists", "overwrite", "--rate", "44100", "--bitrate",
                "64000", "--channels", "1", "--mono", mono, source},
               config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(ProbeEntry(Output(source, "wma"), "stream=channels", "channels"), "1");
    outputs.push_back(test::DecodeWithFfmpeg(Output(source, "wma")));
  }
  EXPECT_LT(test::MiddleRms(outputs[0], 1), 100.0);
  EXPECT_GT(test::MiddleRms(outputs[1], 1), 10000.0);
  EXPECT_GT(test::MiddleRms(outputs[2], 1), 10000.0);
  double product = 0;
  for (size_t i = 0; i < std::min(outputs[1].size(), outputs[2].size()); ++i)
    product += static_cast<double>(outputs[1][i]) * outputs[2][i];
  EXPECT_LT(product, 0.0);  // left and right alone are each other inverted
}

TEST_F(WmCli, JoinTakesTheLargestRateAndChannelCount) {
  const std::string mono = dir.File("a.wav");
  const std::string stereo = dir.File("b.wav");
  MakeAudio(mono, "sine=f=1000:r=22050:d=1");
  MakeAudio(stereo, "sine=f=1000:r=44100:d=1", "-ac 2");
  const std::string joined = dir.File("joined.wma");
  const test::CliRun run = RunCli("join", {"-o", joined, "--auto", mono, stereo}, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const std::string probe = test::ProbeWithFfprobe(joined);
  EXPECT_EQ(test::FfprobeField(probe, "sample_rate"), "44100");
  EXPECT_EQ(test::FfprobeField(probe, "channels"), "2");
  EXPECT_EQ(ProbeEntry(joined, "stream=bit_rate", "bit_rate"), "128000");
  const size_t frames = test::DecodeWithFfmpeg(joined).size() / 2;
  EXPECT_GE(frames, 88200u);
  EXPECT_LE(frames, 88200u + 2 * 2048);
}

TEST_F(WmCli, AChoiceOutsideTheListIsAUsageError) {
  const std::string source = dir.File("s.wav");
  MakeAudio(source, "sine=d=0.2");
  test::CliRun run =
      RunCli("convert", {"-f", "wma", "-d", out, "--rate", "44100", "--bitrate", "100000", source},
             config);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("44100 Hz, 100 kbps, 2 channel(s) is not a Windows Media format"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("\n  44100 Hz, Stereo: 24 32 40 48 64 80 96 128 160 192 256 320 kbps"),
            std::string::npos)
      << run.err;
  run = RunCli("convert", {"-f", "wma", "-d", out, "--channels", "3", source}, config);
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace quillo
