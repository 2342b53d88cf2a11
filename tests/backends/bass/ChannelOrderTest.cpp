// Frames of 3 to 8 channels are folded by the order the decoder keeps them
// in: the same material folds alike from WAV, Vorbis and Opus.
#include <gtest/gtest.h>

#include <cmath>

#include "backends/bass/BassSource.h"
#include "backends/bass/ChannelOrder.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using audio::VorbisSpeakers;
using audio::WaveOrderOf;

TEST(ChannelOrderTest, SlotsOfWaveOrder) {
  struct Case {
    std::vector<int> speakers;
    std::vector<int> order;
  };
  const Case cases[] = {
      {VorbisSpeakers(3), {0, 2, 1}},
      {VorbisSpeakers(4), {}},  // quad keeps the order of a WAV file
      {VorbisSpeakers(5), {0, 2, 1, 3, 4}},
      {VorbisSpeakers(6), {0, 2, 1, 5, 3, 4}},
      {VorbisSpeakers(7), {0, 2, 1, 6, 5, 3, 4}},
      {VorbisSpeakers(8), {0, 2, 1, 7, 5, 6, 3, 4}},
      {{0, 1, 2, 3, 4, 5}, {}},                 // already in WAV order
      {{0, 1, 2, 3, 9, 10}, {}},                // side surrounds, in order
      {{1, 0, 2}, {1, 0, 2}},                   // swapped fronts
      {{0, 2, audio::kUnknownSpeaker, 1}, {}},  // an unknown speaker
      {{0, 1, 1, 2}, {}},                       // a speaker named twice
      {VorbisSpeakers(2), {}},                  // too few to fold
      {{8, 7, 6, 5, 4, 3, 2, 1, 0}, {}},        // too many to fold
  };
  for (const Case& c : cases) EXPECT_EQ(WaveOrderOf(c.speakers), c.order) << c.speakers.size();
}

double Rms(const std::vector<int16_t>& stereo, int channel) {
  double sum = 0;
  for (size_t i = static_cast<size_t>(channel); i < stereo.size(); i += 2)
    sum += static_cast<double>(stereo[i]) * stereo[i];
  return std::sqrt(sum / static_cast<double>(stereo.size() / 2));
}

TEST(ChannelOrderTest, SixChannelToneFoldsAlikeFromWavVorbisAndOpus) {
  audio::AudioLibrary library;
  test::StartLibrary(library);
  test::TempDir dir;
  // A tone on one speaker of a 5.1 layout (WAV order L R C LFE Ls Rs); which
  // side of the stereo pair it must reach.
  struct Case {
    int channel;
    bool left;
    bool right;
  };
  const Case cases[] = {{1, false, true}, {0, true, false}, {5, false, true}, {2, true, true}};
  for (const Case& c : cases) {
    std::string expression;
    for (int ch = 0; ch < 6; ++ch)
      expression += std::string(ch ? "|" : "") + (ch == c.channel ? "0.5*sin(2*PI*440*t)" : "0");
    const std::string wav = dir.File("six.wav");
    ASSERT_TRUE(test::Ffmpeg("-f lavfi -i 'aevalsrc=" + expression + ":s=48000:d=1:c=5.1' " +
                             test::ShellQuote(wav)));
    const std::string vorbis = dir.File("six.ogg");
    const std::string opus = dir.File("six-opus.ogg");
    ASSERT_TRUE(test::Ffmpeg("-i " + test::ShellQuote(wav) + " -c:a libvorbis " +
                             test::ShellQuote(vorbis)));
    ASSERT_TRUE(
        test::Ffmpeg("-i " + test::ShellQuote(wav) + " -c:a libopus " + test::ShellQuote(opus)));
    for (const std::string& path : {wav, vorbis, opus}) {
      SCOPED_TRACE(path + " channel " + std::to_string(c.channel));
      BassSource source(library);
      ASSERT_TRUE(source.Open(path, 0));
      ASSERT_EQ(source.GetSourceChannels(), 6);
      const test::Decoded decoded = test::DecodeAll(source);
      ASSERT_EQ(decoded.channels, 2);
      ASSERT_NEAR(static_cast<double>(decoded.Frames()), 48000.0, 1000.0);
      // The tone's RMS is about 11600 on a side it reaches alone, 8200 from
      // the centre; lossy coding leaves a little on a side it does not reach.
      for (int side : {0, 1}) {
        const double rms = Rms(decoded.samples, side);
        if (side == 0 ? c.left : c.right) {
          EXPECT_GT(rms, 5000.0) << "side " << side;
        } else {
          EXPECT_LT(rms, 300.0) << "side " << side;
        }
      }
    }
  }
}

}  // namespace
}  // namespace quillo
