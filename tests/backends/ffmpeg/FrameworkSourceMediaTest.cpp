// Real-world inputs through FrameworkSource: lossy codecs, the audio of video
// containers, multichannel material, and the properties the list shows.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "backends/ffmpeg/FrameworkSource.h"
#include "engine/media/Downmix.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::Decoded;
using test::MakeMedia;

// The same audio as the ffmpeg program decodes it. Its conversion from float
// rounds where ours truncates, so samples may differ by one.
void ExpectSameAsFfmpeg(const std::string& path, const Decoded& decoded, int channels) {
  const std::vector<int16_t> reference = test::DecodeWithFfmpeg(path);
  ASSERT_FALSE(reference.empty()) << path;
  ASSERT_EQ(decoded.channels, channels) << path;
  ASSERT_EQ(decoded.samples.size(), reference.size()) << path;
  EXPECT_LE(test::MaxDifference(decoded.samples, reference), 1) << path;
  EXPECT_EQ(decoded.ShortBlocks(), 0) << path;
}

using FrameworkSourceMediaTest = test::FolderTest;

TEST_F(FrameworkSourceMediaTest, LossyAudioMatchesTheReferenceDecoder) {
  struct Case {
    const char* name;
    const char* arguments;
    int rate;
    int channels;
  };
  const Case cases[] = {
      {"a.mp3", "-c:a libmp3lame -b:a 128k", 44100, 2},
      {"a.m4a", "-c:a aac -b:a 128k", 48000, 2},
      {"a.aac", "-c:a aac -ac 1", 32000, 1},
      {"a.ogg", "-c:a libvorbis", 44100, 2},
      {"a.opus", "-c:a libopus", 48000, 2},
      {"a.mp2", "-c:a mp2", 44100, 2},
      {"a.ac3", "-c:a ac3", 48000, 2},
      {"a.wma", "-c:a wmav2", 44100, 2},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File(c.name);
    ASSERT_TRUE(MakeMedia("-f lavfi -i sine=f=440:d=2.5 -af \"pan=stereo|c0=c0|c1=0.5*c0\" -ar " +
                              std::to_string(c.rate) + " " + c.arguments +
                              (c.channels == 1 ? " -ac 1" : ""),
                          path))
        << c.name;
    FrameworkSource source;
    ASSERT_TRUE(source.Open(path, 0)) << c.name;
    EXPECT_EQ(source.GetSampleRate(), c.rate) << c.name;
    EXPECT_EQ(source.GetChannels(), c.channels) << c.name;
    EXPECT_EQ(source.GetDurationSeconds(), 2) << c.name;
    ExpectSameAsFfmpeg(path, test::ReadAll(source), c.channels);
  }
}

TEST_F(FrameworkSourceMediaTest, PropertiesAndProgress) {
  const std::string path = dir_.File("cbr.mp3");
  ASSERT_TRUE(MakeMedia("-f lavfi -i sine=f=1000:d=3.7 -ac 2 -c:a libmp3lame -b:a 160k", path));
  FrameworkSource source;
  ASSERT_TRUE(source.Open(path, 0));
  EXPECT_EQ(source.GetBitRateKbps(), 160);
  EXPECT_EQ(source.GetDurationSeconds(), 3);
  const auto size = std::filesystem::file_size(path);
  EXPECT_EQ(source.GetProgressTotal(), size);
  EXPECT_LT(source.GetProgressPosition(), size / 2);
  int16_t left[kMaxBlockFrames], right[kMaxBlockFrames];
  uint64_t previous = 0;
  while (source.Read(left, right) > 0) {
    EXPECT_GE(source.GetProgressPosition(), previous);
    previous = source.GetProgressPosition();
  }
  EXPECT_EQ(source.GetProgressPosition(), size);

  // A lossless file states no bit rate of its own; the container's average serves.
  const std::string flac = dir_.File("a.flac");
  ASSERT_TRUE(MakeMedia("-f lavfi -i anoisesrc=d=2:a=0.3 -ac 2 -c:a flac", flac));
  ASSERT_TRUE(source.Open(flac, 0));
  EXPECT_GT(source.GetBitRateKbps(), 100);
}

// Six channels of distinct sines: L 300 Hz, R 500, C 700, LFE 60, Ls 1100, Rs 1300.
std::string FiveOneInput() {
  return "-filter_complex \"sine=f=300:d=2[a];sine=f=500:d=2[b];sine=f=700:d=2[c];"
         "sine=f=60:d=2[d];sine=f=1100:d=2[e];sine=f=1300:d=2[f];"
         "[a][b][c][d][e][f]join=inputs=6:channel_layout=5.1:"
         "map=0.0-FL|1.0-FR|2.0-FC|3.0-LFE|4.0-BL|5.0-BR[out]\" -map \"[out]\" -ar 48000";
}

// Amplitude of `hz` in every `step`-th sample starting at `offset`.
double Amplitude(const std::vector<int16_t>& samples, int offset, int step, double hz, int rate) {
  double re = 0, im = 0;
  size_t count = 0;
  for (size_t i = offset; i < samples.size(); i += step, ++count) {
    const double phase = 2 * M_PI * hz * static_cast<double>(count) / rate;
    re += samples[i] * std::cos(phase);
    im += samples[i] * std::sin(phase);
  }
  return 2 * std::hypot(re, im) / static_cast<double>(count);
}

TEST_F(FrameworkSourceMediaTest, FiveOneFoldsToTheSamePairInEveryCodec) {
  const std::string flac = dir_.File("six.flac");
  const std::string wav = dir_.File("six.wav");
  const std::string aac = dir_.File("six.m4a");
  ASSERT_TRUE(MakeMedia(FiveOneInput() + " -c:a flac", flac));
  ASSERT_TRUE(MakeMedia(FiveOneInput() + " -c:a pcm_s16le", wav));
  ASSERT_TRUE(MakeMedia(FiveOneInput() + " -c:a aac -b:a 768k", aac));

  auto decode = [](const std::string& path) {
    FrameworkSource source;
    EXPECT_TRUE(source.Open(path, 0)) << path;
    EXPECT_EQ(source.GetSourceChannels(), 6) << path;
    EXPECT_EQ(source.GetChannels(), 2) << path;
    return test::ReadAll(source);
  };
  const Decoded fromFlac = decode(flac);
  const Decoded fromWav = decode(wav);
  const Decoded fromAac = decode(aac);

  // Lossless: exactly the engine's fold of L, R, C, LFE, Ls, Rs.
  const std::vector<int16_t> six = test::DecodeWithFfmpeg(flac);
  ASSERT_EQ(fromFlac.samples.size(), six.size() / 3);
  for (size_t f = 0; f < fromFlac.Frames(); ++f) {
    int16_t l = 0, r = 0;
    DownmixToStereo(6, &six[f * 6], l, r);
    ASSERT_EQ(fromFlac.samples[2 * f], l) << f;
    ASSERT_EQ(fromFlac.samples[2 * f + 1], r) << f;
  }
  EXPECT_EQ(fromWav.samples, fromFlac.samples);

  // AAC is lossy: the same pair in content. Each tone sits where the fold puts
  // it: L and Ls left only, R and Rs right only, C and LFE both at 0.707.
  // The encoder pads the last frame, and the reference decoder keeps the padding too.
  ASSERT_EQ(fromAac.Frames(), test::DecodeWithFfmpeg(aac).size() / 6);
  const double full = Amplitude(fromFlac.samples, 0, 2, 300, 48000);
  ASSERT_GT(full, 3000);
  struct Tone {
    double hz;
    double left;
    double right;
  };
  for (const Tone& tone : {Tone{300, 1, 0}, Tone{500, 0, 1}, Tone{700, 0.707, 0.707},
                           Tone{60, 0.707, 0.707}, Tone{1100, 1, 0}, Tone{1300, 0, 1}}) {
    for (const Decoded* decoded : {&fromFlac, &fromAac}) {
      const double l = Amplitude(decoded->samples, 0, 2, tone.hz, 48000) / full;
      const double r = Amplitude(decoded->samples, 1, 2, tone.hz, 48000) / full;
      EXPECT_NEAR(l, tone.left, 0.05)
          << tone.hz << " Hz left, " << (decoded == &fromAac ? "aac" : "flac");
      EXPECT_NEAR(r, tone.right, 0.05)
          << tone.hz << " Hz right, " << (decoded == &fromAac ? "aac" : "flac");
    }
  }
}

TEST_F(FrameworkSourceMediaTest, AudioOfEveryVideoContainer) {
  struct Case {
    const char* name;
    const char* arguments;
    int rate;
  };
  const Case cases[] = {
      {"v.avi", "-c:v mpeg4 -c:a libmp3lame", 44100},
      {"v.mp4", "-c:v mpeg4 -c:a aac", 44100},
      {"v.mov", "-c:v mpeg4 -c:a pcm_s16le", 44100},
      {"v.mkv", "-c:v mpeg4 -c:a libvorbis", 44100},
      {"v.flv", "-c:v flv -c:a libmp3lame", 22050},
      {"v.wmv", "-c:v wmv2 -c:a wmav2", 44100},
      {"v.asf", "-c:v wmv1 -c:a wmav1", 22050},
      {"v.3gp", "-c:v h263 -s 176x144 -c:a aac", 16000},
      {"v.mpg", "-c:v mpeg1video -c:a mp2", 44100},
      {"v.ts", "-c:v mpeg2video -c:a mp2", 48000},
      {"v.webm", "-c:v libvpx -deadline realtime -c:a libopus", 48000},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File(c.name);
    ASSERT_TRUE(
        MakeMedia("-f lavfi -i testsrc=size=176x144:rate=25:d=2 -f lavfi -i "
                  "\"sine=f=440:d=2\" -ac 2 -ar " +
                      std::to_string(c.rate) + " " + c.arguments,
                  path))
        << c.name;
    FrameworkSource source;
    ASSERT_TRUE(source.Open(path, 0)) << c.name;
    EXPECT_EQ(source.GetSampleRate(), c.rate) << c.name;
    const Decoded decoded = test::ReadAll(source);
    // About two seconds of sound, however the container pads it.
    EXPECT_NEAR(static_cast<double>(decoded.Frames()) / c.rate, 2.0, 0.2) << c.name;
    ExpectSameAsFfmpeg(path, decoded, 2);
  }
}

TEST_F(FrameworkSourceMediaTest, AudioAsSecondStreamAndVideoWithoutAudio) {
  const std::string second = dir_.File("second.mkv");
  ASSERT_TRUE(
      MakeMedia("-f lavfi -i testsrc=size=64x48:rate=5:d=1 -f lavfi -i sine=f=880:d=1 "
                "-f lavfi -i sine=f=220:d=1 -map 0:v -map 1:a -map 2:a -c:v mpeg4 -c:a flac",
                second));
  FrameworkSource source;
  ASSERT_TRUE(source.Open(second, 0));
  EXPECT_EQ(source.HasAudioStream(), 1);
  const Decoded decoded = test::ReadAll(source);
  // The first audio stream (880 Hz), not the second.
  EXPECT_EQ(decoded.samples, test::DecodeWithFfmpeg(second));
  EXPECT_GT(Amplitude(decoded.samples, 0, 1, 880, 44100), 1000);
  EXPECT_LT(Amplitude(decoded.samples, 0, 1, 220, 44100), 100);

  const std::string silent = dir_.File("silent.mp4");
  ASSERT_TRUE(MakeMedia("-f lavfi -i testsrc=size=64x48:rate=5:d=1 -c:v mpeg4", silent));
  EXPECT_FALSE(source.Open(silent, 0));
  EXPECT_EQ(source.HasAudioStream(), 0);
  int16_t left[kMaxBlockFrames], right[kMaxBlockFrames];
  EXPECT_EQ(source.Read(left, right), 0);
}

}  // namespace
}  // namespace quillo
