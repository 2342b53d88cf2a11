// Decodes AIFF and AIFF-C files of every coding with the AIFF reader and
// compares them with libsndfile's decoding of the same file (or ffmpeg's,
// where libsndfile trusts a wrong frame count). Files come from libsndfile,
// the ffmpeg program and sox.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <string>

#include "backends/files/AiffSource.h"
#include "engine/media/Downmix.h"
#include "tests/backends/files/AuTestFiles.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// Checks `got` against a reference decoding, more than two channels folded:
// the same samples, as many as the reference has or `frames` rounded up to
// whole coded blocks (where the reference stops at a frame count that its
// header gives).
void ExpectDecoding(const std::vector<int16_t>& got, std::vector<int16_t> want, int channels,
                    int tolerance, size_t frames, size_t blockFrames = 1) {
  if (channels > 2) {
    std::vector<int16_t> folded(want.size() / static_cast<size_t>(channels) * 2);
    for (size_t f = 0; f < folded.size() / 2; ++f)
      DownmixToStereo(channels, &want[f * static_cast<size_t>(channels)], folded[2 * f],
                      folded[2 * f + 1]);
    want = folded;
  }
  const size_t whole = (frames + blockFrames - 1) / blockFrames * blockFrames;
  ASSERT_GE(want.size(), frames * static_cast<size_t>(std::min(channels, 2)));
  ASSERT_TRUE(got.size() == want.size() ||
              got.size() == whole * static_cast<size_t>(std::min(channels, 2)))
      << got.size() << " samples, reference " << want.size();
  for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
    ASSERT_LE(std::abs(got[i] - want[i]), tolerance) << "sample " << i;
}

struct Case {
  const char* name;
  int format;  // for libsndfile
  int channels;
  int tolerance;    // float: libsndfile rounds where the reader truncates
  int blockFrames;  // the data holds whole blocks; libsndfile stops short
};

const Case kCases[] = {
    {"s8_6ch", SF_FORMAT_PCM_S8, 6, 0, 1},
    {"u8_raw", SF_FORMAT_PCM_U8, 2, 0, 1},
    {"pcm16", SF_FORMAT_PCM_16, 1, 0, 1},
    {"pcm24_6ch", SF_FORMAT_PCM_24, 6, 0, 1},
    {"pcm32", SF_FORMAT_PCM_32, 2, 0, 1},
    {"sowt16_6ch", SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE, 6, 0, 1},
    {"23ni32", SF_FORMAT_PCM_32 | SF_ENDIAN_LITTLE, 2, 0, 1},
    {"ulaw", SF_FORMAT_ULAW, 2, 0, 1},
    {"alaw", SF_FORMAT_ALAW, 1, 0, 1},
    {"float", SF_FORMAT_FLOAT, 2, 1, 1},
    {"double", SF_FORMAT_DOUBLE, 1, 1, 1},
    {"ima4_mono", SF_FORMAT_IMA_ADPCM, 1, 0, 64},
    {"ima4_stereo", SF_FORMAT_IMA_ADPCM, 2, 0, 64},
    // libsndfile writes GSM and DWVW in mono only, and DWVW of 12 bits not
    // at all.
    {"gsm", SF_FORMAT_GSM610, 1, 0, 160},
    {"dwvw16", SF_FORMAT_DWVW_16, 1, 0, 1},
    {"dwvw24", SF_FORMAT_DWVW_24, 1, 0, 1},
};

class AiffMatchesSndfile : public testing::TestWithParam<Case> {};

TEST_P(AiffMatchesSndfile, SameSamplesRateAndLength) {
  const Case& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("signal.aiff");
  // An odd length, so the last block is partial; a second and a third.
  const int frames = 3 * kMaxBlockFrames + 509;
  const std::vector<int16_t> signal = TestSignal(c.channels, frames, 11);
  WriteWithSndfile(path, SF_FORMAT_AIFF | c.format, 3000, c.channels, signal);
  AiffSource source;
  ASSERT_TRUE(source.Open(path, 44100));
  EXPECT_EQ(source.GetSampleRate(), 3000);
  EXPECT_EQ(source.GetSourceChannels(), c.channels);
  EXPECT_EQ(source.GetDurationSeconds(), 1);
  const Decoded got = ReadAll(source);
  ASSERT_FALSE(got.blocks.empty());
  EXPECT_LE(got.LargestBlock(), kMaxBlockFrames);
  ExpectDecoding(got.samples, ReadWithSndfile(path).samples, c.channels,
                 c.channels > 2 ? 4 * c.tolerance : c.tolerance, static_cast<size_t>(frames),
                 static_cast<size_t>(c.blockFrames));
}

INSTANTIATE_TEST_SUITE_P(AllCodings, AiffMatchesSndfile, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                           return std::string(param.param.name);
                         });

TEST(AiffFromTools, DecodeInFullAsTheirReferenceDoes) {
  const std::string stereo =
      "ffmpeg -nostdin -v error -y -f lavfi -i "
      "'aevalsrc=sin(440*2*PI*t)/2|sin(660*2*PI*t)/3:s=8000:d=2' -c:a ";
  const struct {
    std::string command;  // writes $OUT
    int tolerance;
    bool ffmpegReference;
  } tools[] = {
      {stereo + "pcm_s16le \"$OUT\"", 0, false},
      {stereo + "pcm_f32be \"$OUT\"", 1, false},
      {stereo + "adpcm_ima_qt \"$OUT\"", 0, false},
      // The AIFF writer needs a sample size for GSM that the encoder does not
      // give; a stream copied from QuickTime has one. Its COMM counts the 100
      // frames of 160 samples as if they were samples.
      {"ffmpeg -nostdin -v error -y -f lavfi -i sine=r=8000:d=2 -c:a gsm \"$OUT.mov\" && "
       "ffmpeg -nostdin -v error -y -i \"$OUT.mov\" -c copy \"$OUT\"",
       0, true},
      {"sox -n -r 8000 -c 2 -b 24 \"$OUT\" synth 2 sine 440 sine 660", 0, false},
      {"sox -n -r 8000 -c 1 -e a-law -t aifc \"$OUT\" synth 2 sine 440", 0, false},
  };
  TempDir dir;
  for (const auto& tool : tools) {
    SCOPED_TRACE(tool.command);
    const std::string path = dir.File("tool.aiff");
    ASSERT_EQ(test::Run("OUT=" + ShellQuote(path) + "; " + tool.command), 0);
    AiffSource source;
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetDurationSeconds(), 2);
    const std::vector<int16_t> got = ReadAll(source).samples;
    ExpectDecoding(got,
                   tool.ffmpegReference ? DecodeWithFfmpeg(path) : ReadWithSndfile(path).samples,
                   source.GetChannels(), tool.tolerance, 16000);
    EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
  }
}

}  // namespace
}  // namespace quillo::test
