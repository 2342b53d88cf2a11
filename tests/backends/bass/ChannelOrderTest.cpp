// Frames of 3 to 8 channels are folded by the order the decoder keeps them
// in: the same material folds alike from WAV, Vorbis and Opus.
#include <gtest/gtest.h>

#include <cmath>

#include "backends/bass/BassSource.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using ChannelOrderTest = test::LibraryTest;

TEST_F(ChannelOrderTest, SurroundToneFoldsAlikeFromWavVorbisAndOpus) {
  const std::string wav = dir_.File("tone.wav");
  // A tone on one speaker (WAV order: L R C LFE, then the surrounds);
  // whether it must reach the left and the right output.
  for (const auto& [layout, channels, speaker, left, right] : {std::tuple{"5.1", 6, 1, false, true},
                                                               {"5.1", 6, 0, true, false},
                                                               {"5.1", 6, 5, false, true},
                                                               {"7.1", 8, 7, false, true},
                                                               {"7.1", 8, 2, true, true}}) {
    std::string tone;
    for (int ch = 0; ch < channels; ++ch)
      tone += std::string(ch ? "|" : "") + (ch == speaker ? "0.5*sin(2*PI*440*t)" : "0");
    ASSERT_TRUE(
        test::MakeMedia("-f lavfi -i 'aevalsrc=" + tone + ":s=48000:d=1:c=" + layout + "'", wav));
    const std::string vorbis = Encode(wav, "vorbis.ogg", "-c:a libvorbis");
    const std::string opus = Encode(wav, "opus.ogg", "-c:a libopus");
    for (const std::string& path : {wav, vorbis, opus}) {
      BassSource source(library_);
      ASSERT_TRUE(source.Open(path, 0));
      const test::Decoded decoded = test::ReadAll(source);
      ASSERT_EQ(decoded.channels, 2);
      EXPECT_NEAR(static_cast<double>(decoded.Frames()), 48000.0, 1000.0);
      // A side the tone reaches alone gets an RMS near 11600, from the
      // centre 8200; lossy coding leaves a little on a side it does not reach.
      for (int side : {0, 1}) {
        double sum = 0;
        for (size_t i = static_cast<size_t>(side); i < decoded.samples.size(); i += 2)
          sum += std::pow(decoded.samples[i], 2);
        const double rms = std::sqrt(sum / static_cast<double>(decoded.Frames()));
        EXPECT_EQ(rms > 5000, side == 0 ? left : right)
            << path << " " << layout << " " << speaker << " " << rms;
        EXPECT_TRUE(rms > 5000 || rms < 300)
            << path << " " << layout << " " << speaker << " " << rms;
      }
    }
  }
}

}  // namespace
}  // namespace quillo
