#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <random>
#include <vector>

#include "engine/media/MediaSource.h"
#include "engine/media/ResampleAdapter.h"
#include "tests/support/SineFit.h"

namespace quillo {
namespace {

struct Stream {
  std::vector<int16_t> left;
  std::vector<int16_t> right;
};

std::vector<int16_t> SineWave(int rate, int frames, double hz, double amplitude) {
  std::vector<int16_t> out(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i)
    out[i] = static_cast<int16_t>(
        std::lround(amplitude * 32767.0 * std::sin(2 * std::numbers::pi * hz * i / rate)));
  return out;
}

// Feeds `left` (and `right` when not empty) through a fresh adapter in blocks
// whose sizes cycle through `blockSizes`, then drains it when `flush` is set.
Stream RunAdapter(int inRate, int inChannels, int outRate, int outChannels,
                  const std::vector<int16_t>& left, const std::vector<int16_t>& right,
                  const std::vector<int>& blockSizes, bool flush = true) {
  ResampleAdapter adapter;
  adapter.Configure(inRate, inChannels, outRate, outChannels);
  const int capacity = adapter.OutputCapacity(kMaxBlockFrames);
  std::vector<int16_t> outLeft(capacity);
  std::vector<int16_t> outRight(capacity);
  Stream out;
  size_t at = 0;
  for (size_t block = 0; at < left.size(); ++block) {
    const int frames =
        std::min<int>(blockSizes[block % blockSizes.size()], static_cast<int>(left.size() - at));
    int produced = -1;
    adapter.Process(left.data() + at, right.empty() ? nullptr : right.data() + at, frames,
                    outLeft.data(), outRight.data(), &produced);
    EXPECT_GE(produced, 0);
    EXPECT_LE(produced, adapter.OutputCapacity(frames));
    out.left.insert(out.left.end(), outLeft.begin(), outLeft.begin() + produced);
    if (outChannels == 2)
      out.right.insert(out.right.end(), outRight.begin(), outRight.begin() + produced);
    at += static_cast<size_t>(frames);
  }
  for (int rounds = 0; flush && rounds < 100; ++rounds) {
    const int produced = adapter.Flush(outLeft.data(), outRight.data(), capacity);
    if (produced == 0) break;
    out.left.insert(out.left.end(), outLeft.begin(), outLeft.begin() + produced);
    if (outChannels == 2)
      out.right.insert(out.right.end(), outRight.begin(), outRight.begin() + produced);
  }
  return out;
}

// The SNR of `samples` against the best-fitting sine of `hz`; `phase` gets
// the fitted phase.
double SineSnr(const std::vector<int16_t>& samples, int rate, double hz, double* phase = nullptr) {
  const test::SineFit fit = test::FitSine(samples, rate, hz);
  if (phase != nullptr) *phase = fit.phase;
  return fit.snr;
}

TEST(ResampleAdapterEqualRates, StereoToMonoIsTheMeanRoundedDown) {
  ResampleAdapter adapter;
  adapter.Configure(44100, 2, 44100, 1);
  EXPECT_FALSE(adapter.resampling());

  std::vector<int16_t> left = {3, -3, 32767, -32768, 32767, 0, -1, 1};
  std::vector<int16_t> right = {4, -4, 32767, -32768, -32768, -1, 0, 0};
  std::mt19937 random(509);
  std::uniform_int_distribution<int> any(-32768, 32767);
  while (left.size() < 509) {
    left.push_back(static_cast<int16_t>(any(random)));
    right.push_back(static_cast<int16_t>(any(random)));
  }
  std::vector<int16_t> out(adapter.OutputCapacity(509), 7);
  int frames = 0;
  adapter.Process(left.data(), right.data(), 509, out.data(), nullptr, &frames);
  ASSERT_EQ(frames, 509);
  EXPECT_EQ(out[0], 3);
  EXPECT_EQ(out[1], -4);
  EXPECT_EQ(out[2], 32767);
  EXPECT_EQ(out[3], -32768);
  EXPECT_EQ(out[4], -1);
  EXPECT_EQ(out[5], -1);
  EXPECT_EQ(out[6], -1);
  EXPECT_EQ(out[7], 0);
  for (int i = 0; i < 509; ++i) {
    const int expected = static_cast<int>(std::floor((left[i] + right[i]) / 2.0));
    ASSERT_EQ(out[i], expected) << "frame " << i;
  }
  EXPECT_EQ(adapter.Flush(out.data(), nullptr, 509), 0);
}

TEST(ResampleAdapterEqualRates, CopiesAndDuplicatesChannels) {
  const std::vector<int16_t> left = SineWave(44100, 509, 440, 0.5);
  const std::vector<int16_t> right = SineWave(44100, 509, 1000, 0.25);
  std::vector<int16_t> outLeft(2 * 509);
  std::vector<int16_t> outRight(2 * 509);
  int frames = 0;

  ResampleAdapter stereo;
  stereo.Configure(44100, 2, 44100, 2);
  stereo.Process(left.data(), right.data(), 509, outLeft.data(), outRight.data(), &frames);
  ASSERT_EQ(frames, 509);
  EXPECT_TRUE(std::equal(left.begin(), left.end(), outLeft.begin()));
  EXPECT_TRUE(std::equal(right.begin(), right.end(), outRight.begin()));

  ResampleAdapter widen;
  widen.Configure(22050, 1, 22050, 2);
  widen.Process(left.data(), nullptr, 509, outLeft.data(), outRight.data(), &frames);
  ASSERT_EQ(frames, 509);
  EXPECT_TRUE(std::equal(left.begin(), left.end(), outLeft.begin()));
  EXPECT_TRUE(std::equal(left.begin(), left.end(), outRight.begin()));

  widen.Process(left.data(), nullptr, 0, outLeft.data(), outRight.data(), &frames);
  EXPECT_EQ(frames, 0);
}

TEST(ResampleAdapterRates, OneBlockOf8000MonoFitsTheBufferOnBothChannels) {
  ResampleAdapter adapter;
  adapter.Configure(8000, 1, 44100, 2);
  EXPECT_TRUE(adapter.resampling());
  ASSERT_EQ(adapter.OutputCapacity(1152), 6 * 1152);

  const std::vector<int16_t> in = SineWave(8000, 1152, 1000, 0.5);
  std::vector<int16_t> outLeft(6 * 1152, 0);
  std::vector<int16_t> outRight(6 * 1152, 0);
  int frames = 0;
  adapter.Process(in.data(), nullptr, 1152, outLeft.data(), outRight.data(), &frames);
  // The resampler holds back the tail of its filter until more input comes
  // (the flush delivers it), but the block already yields most of its output.
  EXPECT_GT(frames, 3000);
  EXPECT_LE(frames, 6351);
  EXPECT_TRUE(std::equal(outLeft.begin(), outLeft.begin() + frames, outRight.begin()));
}

TEST(ResampleAdapterRates, DownsamplingFitsTheSingleBlockBuffer) {
  ResampleAdapter adapter;
  adapter.Configure(48000, 2, 44100, 2);
  EXPECT_TRUE(adapter.resampling());
  EXPECT_EQ(adapter.OutputCapacity(1152), 1152);
}

struct LengthCase {
  int inRate, inChannels, outRate, outChannels, frames;
  std::vector<int> blocks;
};

class ResampleAdapterLength : public ::testing::TestWithParam<LengthCase> {};

// After the flush a resampled stream has the length of the input times the
// factor, whatever the block sizes.
TEST_P(ResampleAdapterLength, FlushedStreamHasTheExactLength) {
  const LengthCase& c = GetParam();
  const std::vector<int16_t> left = SineWave(c.inRate, c.frames, 440, 0.5);
  const std::vector<int16_t> right =
      c.inChannels == 2 ? SineWave(c.inRate, c.frames, 440, 0.5) : std::vector<int16_t>{};
  const Stream out =
      RunAdapter(c.inRate, c.inChannels, c.outRate, c.outChannels, left, right, c.blocks);
  const double exact = static_cast<double>(c.frames) * c.outRate / c.inRate;
  EXPECT_NEAR(static_cast<double>(out.left.size()), exact, 3.0);
  if (c.outChannels == 2) {
    ASSERT_EQ(out.right.size(), out.left.size());
    EXPECT_EQ(out.right, out.left);
  }
  // Without the flush the stream falls short by the filter's delay.
  const Stream unflushed =
      RunAdapter(c.inRate, c.inChannels, c.outRate, c.outChannels, left, right, c.blocks, false);
  EXPECT_LT(static_cast<double>(unflushed.left.size()), exact - 3.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, ResampleAdapterLength,
                         ::testing::Values(LengthCase{8000, 1, 44100, 2, 20000, {509}},
                                           LengthCase{8000, 1, 44100, 2, 8000, {1152, 1, 509, 7}},
                                           LengthCase{48000, 2, 44100, 2, 48000, {509}},
                                           LengthCase{48000, 2, 44100, 1, 30011, {1152, 3, 1000}},
                                           LengthCase{44100, 1, 22050, 1, 44101, {1152}},
                                           LengthCase{11025, 2, 48000, 2, 11025, {509, 1152}},
                                           // The extremes of the rates a source may have.
                                           LengthCase{1000, 1, 768000, 2, 1500, {1152, 509}},
                                           LengthCase{768000, 2, 1000, 1, 768000 * 3, {1152}}));

// The frequency of a sine from its rising zero crossings over the middle of
// the signal, each crossing placed between its two samples.
double SineFrequency(const std::vector<int16_t>& samples, int rate) {
  double first = -1, last = -1;
  int crossings = 0;
  for (size_t i = samples.size() / 8; i + 1 < samples.size() - samples.size() / 8; ++i) {
    if (samples[i] < 0 && samples[i + 1] >= 0) {
      const double at =
          static_cast<double>(i) + static_cast<double>(-samples[i]) / (samples[i + 1] - samples[i]);
      if (first < 0) first = at;
      last = at;
      ++crossings;
    }
  }
  return crossings > 1 ? (crossings - 1) * rate / (last - first) : 0.0;
}

// ffmpeg's own resampler (`ffmpeg -ar 48000`, written as 16 bits) takes this
// tone from 44100 to 48000 Hz at 84.3 dB SNR (bench/resample_recipes.sh); the
// adapter must do at least as well.
constexpr double kReferenceSnr = 84.3;

// A half-scale 1 kHz tone through the adapter in blocks of 1152 and of 509
// frames: the same samples both ways, the exact resampled length after the
// flush, still 1 kHz, clean, and in step with the input.
TEST(ResampleAdapterQuality, ToneKeepsFrequencyLengthAndSnrWhateverTheBlocks) {
  struct Case {
    int inRate, outRate, frames;
  };
  for (const Case c :
       {Case{8000, 44100, 16001}, Case{44100, 48000, 88237}, Case{48000, 44100, 96011}}) {
    SCOPED_TRACE(std::to_string(c.inRate) + " -> " + std::to_string(c.outRate));
    const std::vector<int16_t> in = SineWave(c.inRate, c.frames, 1000, 0.5);
    const Stream big = RunAdapter(c.inRate, 1, c.outRate, 1, in, {}, {1152});
    const Stream odd = RunAdapter(c.inRate, 1, c.outRate, 1, in, {}, {509});
    EXPECT_EQ(big.left, odd.left);

    const double exact = static_cast<double>(c.frames) * c.outRate / c.inRate;
    EXPECT_EQ(static_cast<int64_t>(big.left.size()), std::llround(exact));
    EXPECT_NEAR(SineFrequency(big.left, c.outRate), 1000.0, 0.05);
    double phase = 1;
    const double snr = SineSnr(big.left, c.outRate, 1000, &phase);
    std::printf("1 kHz tone %d -> %d Hz: SNR %.1f dB\n", c.inRate, c.outRate, snr);
    EXPECT_GE(snr, kReferenceSnr);
    // A sine starting at phase 0 comes out starting at phase 0.
    EXPECT_NEAR(phase, 0.0, 0.01);
  }
}

TEST(ResampleAdapterQuality, ChannelsStaySeparate) {
  const int frames = 24000;
  const std::vector<int16_t> left = SineWave(48000, frames, 1000, 0.5);
  const std::vector<int16_t> right(frames, 0);
  const Stream out = RunAdapter(48000, 2, 44100, 2, left, right, {1152});
  double peak = 0;
  for (int16_t s : out.right) peak = std::max(peak, std::abs(static_cast<double>(s)));
  EXPECT_EQ(peak, 0.0);
  EXPECT_GT(SineSnr(out.left, 44100, 1000), 70.0);
}

TEST(ResampleAdapterQuality, FoldsBeforeResampling) {
  // Opposite channels cancel in the fold, so only silence is resampled.
  const std::vector<int16_t> left = SineWave(44100, 10000, 1000, 0.5);
  std::vector<int16_t> right(left.size());
  std::transform(left.begin(), left.end(), right.begin(),
                 [](int16_t s) { return static_cast<int16_t>(-s); });
  const Stream out = RunAdapter(44100, 2, 8000, 1, left, right, {509});
  EXPECT_NEAR(static_cast<double>(out.left.size()), 10000.0 * 8000 / 44100, 3.0);
  for (int16_t s : out.left) ASSERT_LE(std::abs(s), 1);
}

TEST(ResampleAdapterQuality, FullScaleNeverWrapsAndNeverReachesMinus32768) {
  // A full-scale square overshoots in the filter; the overshoot is clamped.
  std::vector<int16_t> square(20000);
  for (size_t i = 0; i < square.size(); ++i) square[i] = (i / 50) % 2 ? 32767 : -32768;
  const Stream out = RunAdapter(44100, 1, 48000, 1, square, {}, {1152});
  ASSERT_FALSE(out.left.empty());
  const auto [low, high] = std::minmax_element(out.left.begin(), out.left.end());
  EXPECT_EQ(*low, -32767);
  EXPECT_EQ(*high, 32767);
  // Clamped, not wrapped: the middle of each half period keeps its sign.
  for (size_t half = 2; half < 200; ++half) {
    const size_t centre = static_cast<size_t>((half * 50 + 25) * 48000.0 / 44100);
    ASSERT_EQ(out.left[centre] > 0, half % 2 == 1) << "half period " << half;
  }
}

}  // namespace
}  // namespace quillo
