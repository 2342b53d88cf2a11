// BassSource over the formats the layer decodes with FFmpeg: AAC, MP4 and ADX.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "backends/bass/BassSource.h"
#include "backends/bass/FfmpegStream.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::ReadAll;
using test::ShellQuote;

// The reference decoder's own samples (as 32-bit float) turned to 16-bit as
// every back-end does: scaled by 32768, truncated toward zero, clamped.
std::vector<int16_t> DecodeTruncated(const std::string& path) {
  const std::string raw = test::Capture("ffmpeg -v error -i " + ShellQuote(path) +
                                        " -map 0:a:0 -f f32le -c:a pcm_f32le -");
  std::vector<int16_t> samples(raw.size() / 4);
  for (size_t i = 0; i < samples.size(); ++i) {
    float v;
    std::memcpy(&v, raw.data() + 4 * i, 4);
    samples[i] = static_cast<int16_t>(std::clamp(std::trunc(v * 32768.0f), -32768.0f, 32767.0f));
  }
  return samples;
}

class FfmpegStreamTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    wav_ = dir_.File("in.wav");
    pcm_ = test::Sine(44100, 2, kFrames, 523.0, 0.6);
    test::WriteWav(wav_, 44100, 2, 16, false, test::Widen(pcm_));
  }

  static constexpr int kFrames = 44100 * 3 + 1234;
  std::string wav_;
  std::vector<int16_t> pcm_;
};

TEST_F(FfmpegStreamTest, AacAlacAndAdxDecodeLikeTheReferenceDecoder) {
  const std::string files[] = {
      Encode(wav_, "raw.aac", "-c:a aac -b:a 128k"),
      Encode(wav_, "song.m4a", "-c:a aac -b:a 160k"),
      Encode(wav_, "book.m4b", "-c:a aac -b:a 96k -f mp4"),
      Encode(wav_, "lossless.m4a", "-c:a alac"),
      Encode(wav_, "game.adx", "-c:a adpcm_adx"),
  };
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    BassSource source(library_);
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetSampleRate(), 44100);
    EXPECT_EQ(source.GetSourceChannels(), 2);
    EXPECT_EQ(source.GetDurationSeconds(), 3);
    EXPECT_GT(source.GetBitRateKbps(), 0);
    const test::Decoded decoded = ReadAll(source);
    const std::vector<int16_t> reference = DecodeTruncated(path);
    EXPECT_EQ(decoded.samples.size(), reference.size());
    EXPECT_EQ(decoded.samples, reference);
    // The reported length is what is delivered, give or take a frame of the codec.
    const auto delivered = static_cast<int64_t>(decoded.samples.size() * 2);
    EXPECT_NEAR(static_cast<double>(source.GetProgressTotal()), static_cast<double>(delivered),
                4 * 2048.0);
  }
  // ADX states its sample count (whole blocks of 32) in the header.
  BassSource adx(library_);
  ASSERT_TRUE(adx.Open(files[4], 0));
  EXPECT_EQ(adx.GetProgressTotal(), static_cast<uint64_t>((kFrames + 31) / 32 * 32) * 4);
  EXPECT_EQ(ReadAll(adx).samples.size() * 2, adx.GetProgressTotal());
  // ALAC is lossless.
  BassSource alac(library_);
  ASSERT_TRUE(alac.Open(files[3], 0));
  EXPECT_EQ(ReadAll(alac).samples, pcm_);
}

TEST_F(FfmpegStreamTest, EachCodecNeedsItsHandler) {
  const std::string aac = Encode(wav_, "a.m4a", "-c:a aac");
  const std::string alac = Encode(wav_, "b.m4a", "-c:a alac");
  const std::string adts = Encode(wav_, "c.aac", "-c:a aac");
  const std::string adx = Encode(wav_, "d.adx", "-c:a adpcm_adx");

  audio::AudioLibrary noAlac;
  test::StartLibrary(noAlac, {"alac", "adx"});
  BassSource source(noAlac);
  EXPECT_TRUE(source.Open(aac, 0));
  EXPECT_TRUE(source.Open(adts, 0));
  EXPECT_FALSE(source.Open(alac, 0));
  EXPECT_FALSE(source.Open(adx, 0));

  audio::AudioLibrary noAac;
  test::StartLibrary(noAac, {"aac"});
  BassSource other(noAac);
  EXPECT_FALSE(other.Open(aac, 0));
  EXPECT_FALSE(other.Open(adts, 0));
  EXPECT_TRUE(other.Open(alac, 0));

  // An MP4 whose audio is no codec of the handlers is left to the framework.
  const std::string mp3InMp4 = Encode(wav_, "e.mp4", "-c:a libmp3lame");
  EXPECT_FALSE(source.Open(mp3InMp4, 0));
}

TEST_F(FfmpegStreamTest, AdtsFramesAreCountedFromTheirHeaders) {
  const std::string adts = Encode(wav_, "c.aac", "-c:a aac");
  const std::vector<int16_t> reference = test::DecodeWithFfmpeg(adts);
  EXPECT_EQ(audio::CountAdtsSamples(adts), reference.size() / 2);

  // An ID3v2 tag in front is skipped; a damaged tail ends the count there.
  std::vector<uint8_t> bytes = test::ReadFile(adts);
  std::vector<uint8_t> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 20};
  tagged.resize(30, 0);
  tagged.insert(tagged.end(), bytes.begin(), bytes.end());
  const std::string withTag = dir_.File("tagged.aac");
  test::WriteFile(withTag, tagged);
  EXPECT_EQ(audio::CountAdtsSamples(withTag), reference.size() / 2);
  EXPECT_EQ(audio::CountAdtsSamples(wav_), 0u);
}

}  // namespace
}  // namespace quillo
