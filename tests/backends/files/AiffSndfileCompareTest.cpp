// Decodes AIFF and AIFF-C files of every coding, written by libsndfile, by
// the ffmpeg program and by sox, with the AIFF reader and compares them with
// libsndfile's decoding of the same file (or ffmpeg's, where libsndfile
// trusts a wrong frame count).
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "backends/files/AiffSource.h"
#include "engine/Downmix.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// What the reader must deliver for decoded interleaved `samples` of
// `channels`: the same, or for more than two channels, their fold.
std::vector<int16_t> Delivered(const std::vector<int16_t>& samples, int channels) {
  if (channels <= 2) return samples;
  std::vector<int16_t> folded;
  for (size_t at = 0; at + static_cast<size_t>(channels) <= samples.size(); at += channels) {
    int16_t left = 0;
    int16_t right = 0;
    DownmixToStereo(std::min(channels, 8), &samples[at], left, right);
    folded.push_back(left);
    folded.push_back(right);
  }
  return folded;
}

// The largest difference between two decodings, with where it first exceeds
// `tolerance`.
std::string Compare(const std::vector<int16_t>& got, const std::vector<int16_t>& want,
                    int tolerance) {
  if (got.size() != want.size())
    return "length " + std::to_string(got.size()) + " instead of " + std::to_string(want.size());
  for (size_t i = 0; i < got.size(); ++i)
    if (std::abs(got[i] - want[i]) > tolerance)
      return "sample " + std::to_string(i) + " is " + std::to_string(got[i]) + ", not " +
             std::to_string(want[i]);
  return {};
}

struct Coding {
  const char* name;
  int format;       // type, subformat and byte order for libsndfile
  int tolerance;    // float rounds where the reader truncates: one step
  int blockFrames;  // frames of one coded block: the data holds whole ones
  std::vector<int> channels;
};

const Coding kCodings[] = {
    {"pcm_s8", SF_FORMAT_AIFF | SF_FORMAT_PCM_S8, 0, 1, {1, 2, 6}},
    {"pcm_u8", SF_FORMAT_AIFF | SF_FORMAT_PCM_U8, 0, 1, {1, 2}},
    {"pcm_16", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 0, 1, {1, 2, 6}},
    {"pcm_24", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 0, 1, {1, 2, 6}},
    {"pcm_32", SF_FORMAT_AIFF | SF_FORMAT_PCM_32, 0, 1, {1, 2}},
    {"sowt_16", SF_FORMAT_AIFF | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE, 0, 1, {1, 2, 6}},
    // libsndfile marks little-endian 32-bit "23ni".
    {"sowt_32", SF_FORMAT_AIFF | SF_FORMAT_PCM_32 | SF_ENDIAN_LITTLE, 0, 1, {2}},
    {"ulaw", SF_FORMAT_AIFF | SF_FORMAT_ULAW, 0, 1, {1, 2}},
    {"alaw", SF_FORMAT_AIFF | SF_FORMAT_ALAW, 0, 1, {1, 2}},
    {"float", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 1, 1, {1, 2}},
    {"double", SF_FORMAT_AIFF | SF_FORMAT_DOUBLE, 1, 1, {1, 2}},
    {"ima4", SF_FORMAT_AIFF | SF_FORMAT_IMA_ADPCM, 0, 64, {1, 2}},
    // libsndfile writes GSM and DWVW in mono only.
    {"gsm", SF_FORMAT_AIFF | SF_FORMAT_GSM610, 0, 160, {1}},
    {"dwvw_12", SF_FORMAT_AIFF | SF_FORMAT_DWVW_12, 0, 1, {1}},
    {"dwvw_16", SF_FORMAT_AIFF | SF_FORMAT_DWVW_16, 0, 1, {1}},
    {"dwvw_24", SF_FORMAT_AIFF | SF_FORMAT_DWVW_24, 0, 1, {1}},
};

struct Case {
  const Coding* coding;
  int channels;
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const Coding& coding : kCodings)
    for (int channels : coding.channels) cases.push_back({&coding, channels});
  return cases;
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  return std::string(info.param.coding->name) + "_" + std::to_string(info.param.channels) + "ch";
}

class AiffMatchesSndfile : public testing::TestWithParam<Case> {};

TEST_P(AiffMatchesSndfile, SameSamplesRateAndLength) {
  const Coding& coding = *GetParam().coding;
  const int channels = GetParam().channels;
  TempDir dir;
  const std::string path = dir.File("signal.aiff");
  // An odd length, so the last block is partial.
  const int frames = 3 * kMaxBlockFrames + 509;
  const std::vector<int16_t> signal = TestSignal(channels, frames, 11);
  const int subformat = coding.format & SF_FORMAT_SUBMASK;
  if (subformat == SF_FORMAT_FLOAT || subformat == SF_FORMAT_DOUBLE) {
    std::vector<double> values(signal.begin(), signal.end());
    for (double& v : values) v /= 32768.0;
    WriteDoublesWithSndfile(path, coding.format, 22050, channels, values);
  } else {
    WriteWithSndfile(path, coding.format, 22050, channels, signal);
  }
  const SndfileAudio expected = ReadWithSndfile(path);
  ASSERT_EQ(expected.channels, channels);

  AiffSource source;
  ASSERT_TRUE(source.Open(path, 44100));
  EXPECT_EQ(source.GetSampleRate(), 22050);
  EXPECT_EQ(source.GetSourceChannels(), channels);
  EXPECT_EQ(source.GetChannels(), std::min(channels, 2));
  const SourceAudio got = ReadToEnd(source);
  for (size_t b = 0; b + 1 < got.blocks.size(); ++b) EXPECT_LE(got.blocks[b], kMaxBlockFrames);

  // Block codings hold whole blocks: the reader delivers the last one in
  // full, where libsndfile stops at the frame count it wrote.
  const size_t outChannels = static_cast<size_t>(std::min(channels, 2));
  const size_t expectedFrames = expected.samples.size() / static_cast<size_t>(channels);
  const size_t wholeFrames = (expectedFrames + static_cast<size_t>(coding.blockFrames) - 1) /
                             static_cast<size_t>(coding.blockFrames) *
                             static_cast<size_t>(coding.blockFrames);
  ASSERT_EQ(got.samples.size(), wholeFrames * outChannels);
  const std::vector<int16_t> prefix(
      got.samples.begin(),
      got.samples.begin() + static_cast<ptrdiff_t>(expectedFrames * outChannels));
  const int tolerance = channels > 2 ? 4 * coding.tolerance : coding.tolerance;
  EXPECT_EQ(Compare(prefix, Delivered(expected.samples, channels), tolerance), "");
  EXPECT_EQ(source.GetDurationSeconds(), static_cast<int>(wholeFrames / 22050));
}

INSTANTIATE_TEST_SUITE_P(AllCodings, AiffMatchesSndfile, testing::ValuesIn(AllCases()), CaseName);

// Files the ffmpeg program and sox write, decoded against libsndfile, or
// against ffmpeg where libsndfile takes the wrong length.
TEST(AiffFromTools, DecodeInFullAsTheirReferenceDoes) {
  struct Tool {
    const char* name;
    std::string command;  // writes $OUT
    bool ffmpegReference;
    int frames;
    int tolerance;
  };
  const std::string tone = "ffmpeg -nostdin -v error -y -f lavfi -i sine=f=523:d=2:r=8000 ";
  const std::string stereo =
      "ffmpeg -nostdin -v error -y -f lavfi -i 'aevalsrc=sin(440*2*PI*t)/2|sin(660*2*PI*t)/3"
      ":s=8000:d=2' ";
  const Tool tools[] = {
      {"ffmpeg_s16be", stereo + "-c:a pcm_s16be \"$OUT\"", false, 16000, 0},
      {"ffmpeg_s24be", stereo + "-c:a pcm_s24be \"$OUT\"", false, 16000, 0},
      {"ffmpeg_sowt", stereo + "-c:a pcm_s16le \"$OUT\"", false, 16000, 0},
      {"ffmpeg_fl32", stereo + "-c:a pcm_f32be \"$OUT\"", false, 16000, 1},
      {"ffmpeg_ulaw", stereo + "-c:a pcm_mulaw \"$OUT\"", false, 16000, 0},
      {"ffmpeg_ima4", stereo + "-c:a adpcm_ima_qt \"$OUT\"", false, 16000, 0},
      // The AIFF writer needs a sample size for GSM, which the encoder does
      // not give; a stream copied from QuickTime has one. COMM then counts
      // the 100 frames of 160 samples as if they were samples.
      {"ffmpeg_gsm",
       tone +
           "-c:a gsm \"$OUT.mov\" && ffmpeg -nostdin -v error -y -i \"$OUT.mov\" -c copy \"$OUT\"",
       true, 16000, 0},
      {"sox_pcm24", "sox -n -r 8000 -c 2 -b 24 \"$OUT\" synth 2 sine 440 sine 660", false, 16000,
       0},
      {"sox_alaw", "sox -n -r 8000 -c 1 -e a-law -t aifc \"$OUT\" synth 2 sine 440", false, 16000,
       0},
  };
  TempDir dir;
  for (const Tool& tool : tools) {
    SCOPED_TRACE(tool.name);
    const std::string path = dir.File(std::string(tool.name) + ".aiff");
    ASSERT_EQ(test::Run("OUT=" + ShellQuote(path) + "; " + tool.command), 0);
    const std::vector<int16_t> reference =
        tool.ffmpegReference ? DecodeWithFfmpeg(path) : ReadWithSndfile(path).samples;

    AiffSource source;
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetSampleRate(), 8000);
    EXPECT_EQ(source.GetDurationSeconds(), tool.frames / 8000);
    const SourceAudio got = ReadToEnd(source);
    EXPECT_EQ(got.samples.size(),
              static_cast<size_t>(tool.frames) * static_cast<size_t>(source.GetChannels()));
    EXPECT_EQ(Compare(got.samples, reference, tool.tolerance), "");
    EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
  }
}

}  // namespace
}  // namespace quillo::test
