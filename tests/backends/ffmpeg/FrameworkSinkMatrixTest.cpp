// Every framework row of the catalog with every codec it offers: a second of
// sine through the sink, then ffprobe and ffmpeg say what was written.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "tests/backends/ffmpeg/SinkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

struct MatrixCase {
  int32_t formatId;
  std::string extension;
  std::string container;
  const CodecChoice* choice;
  int rate;
  int channels;
  int bitRate;
};

std::vector<MatrixCase> FrameworkCases() {
  std::vector<MatrixCase> cases;
  for (const OutputFormat& row : BuildCatalog()) {
    if (row.backend != FormatBackend::Framework) continue;
    for (const CodecChoice* choice : row.codecChoices) {
      const int channels = (choice->channelMask & kStereoAllowed) != 0 ? 2 : 1;
      const int bitRate =
          choice->bitRates != nullptr ? NearestSupported(choice->bitRates, row.bitRate) : 0;
      cases.push_back({row.formatId, std::string(row.extension), std::string(row.containerName),
                       choice, NearestSupported(choice->sampleRates, 44100), channels, bitRate});
    }
  }
  return cases;
}

// What ffprobe calls the container each muxer writes.
const std::map<std::string, std::string> kProbedContainer = {
    {"3g2", "mov,mp4,m4a,3gp,3g2,mj2"},
    {"3gp", "mov,mp4,m4a,3gp,3g2,mj2"},
    {"ipod", "mov,mp4,m4a,3gp,3g2,mj2"},
    {"mov", "mov,mp4,m4a,3gp,3g2,mj2"},
    {"mp4", "mov,mp4,m4a,3gp,3g2,mj2"},
    {"adts", "aac"},
    {"ac3", "ac3"},
    {"aiff", "aiff"},
    {"au", "au"},
    {"avi", "avi"},
    {"flac", "flac"},
    {"flv", "flv"},
    {"matroska", "matroska,webm"},
    {"mmf", "mmf"},
    {"mp2", "mp3"},
    {"mp3", "mp3"},
    {"mpeg", "mpeg"},
    {"ogg", "ogg"},
    {"opus", "ogg"},
    {"swf", "swf"},
    {"voc", "voc"},
    {"wav", "wav"},
    {"wv", "wv"},
};

// Each stored id's codec: what ffprobe calls it (written out by hand, so that
// a wrong entry of the sink's id map shows here); how far the decoded length
// may stray from the input, in sample frames (one encoder frame plus the
// priming delay: MP2 481, LAME's MP3 1105, AAC 1024, AC-3 256; Vorbis its
// longest block; ADPCM one block; GSM, MS GSM (two frames) and AMR-NB 320;
// PCM, FLAC, ALAC, WavPack and Opus, whose stream states its delay and end,
// exact); and whether every sample comes back unchanged.
struct ProbedCodec {
  std::string name;
  int lengthTolerance = 0;
  bool lossless = false;
};
const std::map<int32_t, ProbedCodec> kProbedCodec = {
    {0x10000, {"pcm_s16le", 0, true}},
    {0x10001, {"pcm_s16be", 0, true}},
    {0x10004, {"pcm_s8"}},
    {0x10005, {"pcm_u8"}},
    {0x10006, {"pcm_mulaw"}},
    {0x10007, {"pcm_alaw"}},
    {0x10008, {"pcm_s32le", 0, true}},
    {0x10009, {"pcm_s32be", 0, true}},
    {0x1000C, {"pcm_s24le", 0, true}},
    {0x1000D, {"pcm_s24be", 0, true}},
    {0x10014, {"pcm_f32be", 0, true}},
    {0x10015, {"pcm_f32le", 0, true}},
    {0x10016, {"pcm_f64be", 0, true}},
    {0x10017, {"pcm_f64le", 0, true}},
    {0x11000, {"adpcm_ima_qt", 4096}},
    {0x11001, {"adpcm_ima_wav", 4096}},
    {0x11006, {"adpcm_ms", 4096}},
    {0x1100B, {"adpcm_g726", 4096}},
    {0x1100D, {"adpcm_swf", 4096}},
    {0x1100E, {"adpcm_yamaha", 4096}},
    {0x12000, {"amr_nb", 320}},
    {0x15000, {"mp2", 1152 + 481}},
    {0x15001, {"mp3", 1152 + 1105}},
    {0x15002, {"aac", 1024 + 1024}},
    {0x15003, {"ac3", 1536 + 256}},
    {0x15005, {"vorbis", 2048}},
    {0x1500E, {"flac", 0, true}},
    {0x15012, {"alac", 0, true}},
    {0x15014, {"gsm", 320}},
    {0x15020, {"gsm_ms", 320}},
    {0x1501B, {"wavpack", 0, true}},
    {0x1503C, {"opus", 0}},
};

void PrintTo(const MatrixCase& c, std::ostream* out) {
  *out << c.container << " " << c.choice->displayName << " " << c.rate << " Hz " << c.channels
       << " ch";
}

class FrameworkSinkMatrixTest : public ::testing::TestWithParam<MatrixCase> {};

TEST(FrameworkSinkMatrix, CoversTheTwentySevenFrameworkRows) {
  std::map<int32_t, int> rows;
  for (const MatrixCase& c : FrameworkCases()) ++rows[c.formatId];
  EXPECT_EQ(rows.size(), 27u);
}

TEST_P(FrameworkSinkMatrixTest, EncodesAndDecodesBack) {
  const MatrixCase& c = GetParam();
  const ProbedCodec& codec = kProbedCodec.at(c.choice->codecId);
  TempDir dir;
  const std::string path = dir.File("out." + c.extension);
  const double hz = 1000.0;
  // A second and a bit: no encoder's frames divide it, so a last partial
  // frame must be coded and, where the stream states its end, cut again.
  const int length = c.rate + 101;
  const std::vector<int16_t> input = Sine(c.rate, c.channels, length, hz, 0.5);
  SinkSetup setup{path, c.container, c.choice->codecId, c.rate, c.channels, c.bitRate};
  // Blocks of 1000 frames cross every encoder's frame boundaries.
  ASSERT_TRUE(EncodeWithSink(setup, input, 1000)) << c.container << " " << c.choice->displayName;

  const std::string probe = ProbeWithFfprobe(path);
  EXPECT_EQ(FfprobeField(probe, "format_name"), kProbedContainer.at(c.container)) << probe;
  EXPECT_EQ(FfprobeField(probe, "codec_name"), codec.name) << probe;
  if (c.container == "voc" && c.choice->codecId == 0x10005) {
    // VOC's 8-bit blocks store the rate as a one-byte time constant, so
    // only rates that divide a million evenly come back exactly.
    EXPECT_NEAR(std::stoi(FfprobeField(probe, "sample_rate")), c.rate, c.rate / 100) << probe;
  } else {
    EXPECT_EQ(FfprobeField(probe, "sample_rate"), std::to_string(c.rate)) << probe;
  }
  EXPECT_EQ(FfprobeField(probe, "channels"), std::to_string(c.channels)) << probe;

  const std::vector<int16_t> decoded = DecodeWithFfmpeg(path);
  const long frames = static_cast<long>(decoded.size() / c.channels);
  EXPECT_LE(std::labs(frames - length), codec.lengthTolerance) << frames << " frames";

  if (codec.lossless) {
    EXPECT_TRUE(decoded == input) << "lossless output differs";
  } else if (c.choice->codecId == 0x10004 || c.choice->codecId == 0x10005) {
    std::vector<int16_t> topBytes(input);
    for (int16_t& s : topBytes) s = static_cast<int16_t>(s & ~0xFF);
    EXPECT_TRUE(decoded == topBytes) << "8-bit output is not the top byte of the input";
  } else {
    // Lossy: still a sine of the same pitch and about the same level.
    EXPECT_NEAR(CrossingsPerSecond(decoded, c.channels, c.rate), 2 * hz, 0.1 * 2 * hz);
    const double ratio = MiddleRms(decoded, c.channels) / MiddleRms(input, c.channels);
    EXPECT_GT(ratio, 0.5);
    EXPECT_LT(ratio, 1.5);
  }
}

std::string CaseName(const ::testing::TestParamInfo<MatrixCase>& info) {
  std::string name = std::to_string(info.param.formatId) + "_" + info.param.extension + "_" +
                     kProbedCodec.at(info.param.choice->codecId).name + "_" +
                     std::to_string(info.index);
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Catalog, FrameworkSinkMatrixTest, ::testing::ValuesIn(FrameworkCases()),
                         CaseName);

}  // namespace
}  // namespace quillo::test
