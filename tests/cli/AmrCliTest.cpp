// AMR and AWB outputs end to end: a WAV through the command line into
// ".amr"/".awb" at every mode, read by ffprobe and converted back to WAV by
// our reader; the channel pick of stereo sources and DTX on silence.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/amr/AmrStorageFormat.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// The frames FFmpeg's demuxer finds in an AMR file, 20 ms each. (Its
// duration field is only estimated from the bit rate.)
int FramesFfprobeFinds(const std::string& path) {
  return std::stoi(
      test::Capture("ffprobe -v error -count_packets -select_streams a:0 "
                    "-show_entries stream=nb_read_packets -of csv=p=0 " +
                    test::ShellQuote(path)));
}

class AmrCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");

  // Converts `source` with `options` into `folder`; the output's path.
  std::string Convert(const std::string& source, const std::string& folder,
                      std::vector<std::string> options, const std::string& extension) {
    options.insert(options.end(), {"-d", folder, source});
    const test::CliRun run = RunCli("convert", options, config);
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    return (fs::path(folder) / (fs::path(source).stem().string() + "." + extension)).string();
  }

  // A mono 440 Hz tone of `frames` samples at `rate`, 0.3 of full scale.
  std::string Tone(const std::string& name, int rate, int frames) {
    const std::string path = dir.File(name);
    test::MakeAudio(path, "aevalsrc=0.3*sin(2*PI*440*t):sample_rate=" + std::to_string(rate),
                    "-af atrim=end_sample=" + std::to_string(frames));
    return path;
  }
};

TEST_F(AmrCli, WavToAmrAndBackKeepsTheLengthAtEveryMode) {
  struct Case {
    std::vector<std::string> options;
    const AmrStorageFormat* format;
    int frameType;
  };
  std::vector<Case> cases;
  const char* narrowModes[] = {"4.75", "5.15", "5.9", "6.7", "7.4", "7.95", "10.2", "12.2"};
  for (int mode = 0; mode < 8; ++mode)
    cases.push_back(
        {{"-f", "amr", "--band", "nb", "--mode", narrowModes[mode]}, &kAmrNarrowBand, mode});
  // The band applies before the mode, whatever their order.
  cases.push_back({{"-f", "amr", "--mode", "6.6", "--band", "wb"}, &kAmrWideBand, 0});
  cases.push_back({{"-f", "awb", "--mode", "23.85"}, &kAmrWideBand, 8});

  // 50 frames and a few samples: the last frame is completed with silence.
  const std::string narrowTone = Tone("nb.wav", 8000, 50 * 160 + 37);
  const std::string wideTone = Tone("wb.wav", 16000, 50 * 320 + 37);
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const bool narrow = c.format == &kAmrNarrowBand;
    const int rate = c.format->sampleRate;
    SCOPED_TRACE(c.options[1] + " " + c.options.back() + " " + c.options[3]);
    const std::string folder = dir.File(std::to_string(i));
    const std::string amr =
        Convert(narrow ? narrowTone : wideTone, folder, c.options, c.options[1]);
    EXPECT_EQ(fs::file_size(amr), c.format->magic.size() + 51u * c.format->frameBytes[c.frameType]);
    const std::string probe = test::ProbeWithFfprobe(amr);
    EXPECT_EQ(test::FfprobeField(probe, "codec_name"), narrow ? "amr_nb" : "amr_wb") << probe;
    EXPECT_EQ(test::FfprobeField(probe, "sample_rate"), std::to_string(rate)) << probe;
    EXPECT_EQ(FramesFfprobeFinds(amr), 51);

    const std::vector<int16_t> back =
        test::DecodeWithFfmpeg(Convert(amr, folder + "/back", {"-f", "wav"}, "wav"));
    EXPECT_EQ(back.size(), 51u * c.format->frameSamples);
    EXPECT_NEAR(test::CrossingsPerSecond(back, 1, rate), 880, 30);
    EXPECT_NEAR(test::MiddleRms(back, 1) / (0.3 * 32768 / std::sqrt(2.0)), 1.0, 0.4);
  }
}

TEST_F(AmrCli, AStereoSourceGivesTheChosenChannelAlone) {
  const std::string stereo = dir.File("lr.wav");
  // Left 300 Hz, right 1000 Hz.
  test::Run(
      "ffmpeg -v error -y -f lavfi -i sine=frequency=300:sample_rate=8000:duration=1 "
      "-f lavfi -i sine=frequency=1000:sample_rate=8000:duration=1 "
      "-filter_complex amerge=inputs=2 " +
      test::ShellQuote(stereo));
  for (const auto& [mono, hz] : {std::pair{"left", 300}, std::pair{"right", 1000}}) {
    const std::string amr =
        Convert(stereo, dir.File(mono), {"-f", "amr", "--mode", "12.2", "--mono", mono}, "amr");
    const std::vector<int16_t> decoded = test::DecodeWithFfmpeg(amr);
    EXPECT_EQ(decoded.size(), 8000u);
    EXPECT_NEAR(test::CrossingsPerSecond(decoded, 1, 8000), 2 * hz, 0.05 * 2 * hz) << mono;
  }
}

TEST_F(AmrCli, DtxMakesSilenceSmallAndKeepsItsLength) {
  struct Case {
    std::string format;
    int rate;
  };
  for (const Case& c : {Case{"amr", 8000}, Case{"awb", 16000}}) {
    SCOPED_TRACE(c.format);
    const std::string silence = dir.File("quiet" + c.format + ".wav");
    test::MakeAudio(silence, "anullsrc=channel_layout=mono:sample_rate=" + std::to_string(c.rate),
                    "-t 3");
    uintmax_t sizes[2] = {};
    for (const bool dtx : {false, true}) {
      const std::string output = Convert(silence, dir.File(c.format + (dtx ? "on" : "off")),
                                         {"-f", c.format, "--dtx", dtx ? "on" : "off"}, c.format);
      sizes[dtx] = fs::file_size(output);
      // FFmpeg's decoders know no comfort-noise frames; its demuxer still
      // finds every frame.
      EXPECT_EQ(FramesFfprobeFinds(output), 150) << dtx;
      const std::string back =
          Convert(output, dir.File("back"), {"-f", "wav", "--if-exists", "overwrite"}, "wav");
      EXPECT_EQ(test::DecodeWithFfmpeg(back).size(), 3u * c.rate) << dtx;
    }
    EXPECT_LT(sizes[1] * 4, sizes[0]);
  }
}

TEST(AmrCliUsage, EncodingOptionsOutsideTheirRowsOrTablesAreUsageErrors) {
  test::TempDir dir;
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-f", "mp3", "--mode", "12.2"}, "--mode does not apply to MP3"},
      {{"-f", "awb", "--band", "nb"}, "--band does not apply to AWB"},
      {{"-f", "amr", "--band", "nb", "--mode", "12.65"}, "4.75 5.15 5.9 6.7 7.4 7.95 10.2 12.2"},
      {{"-f", "amr", "--dtx", "yes"}, "--dtx"},
  };
  for (auto [args, message] : cases) {
    args.push_back("x.wav");
    const test::CliRun run = RunCli("convert", args, dir.File("q.conf"));
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace quillo
