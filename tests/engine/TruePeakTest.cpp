#include "engine/output/TruePeak.h"

#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "engine/output/LoudnessMeter.h"

namespace quillo {
namespace {

// libebur128's own 4x true-peak meter, the reference ours must agree with.
double ReferenceTruePeak(const std::vector<int16_t>& samples) {
  ebur128_state* state = ebur128_init(1, 48000, EBUR128_MODE_TRUE_PEAK);
  ebur128_add_frames_short(state, samples.data(), samples.size());
  double peak = 0.0;
  ebur128_true_peak(state, 0, &peak);
  ebur128_destroy(&state);
  return peak;
}

std::vector<int16_t> Tone(double frequency, double phase, double amplitude, int count) {
  std::vector<int16_t> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(
        amplitude * 32767 * std::sin(2 * std::numbers::pi * frequency * i / 48000 + phase)));
  return samples;
}

struct Case {
  std::string name;
  std::vector<int16_t> samples;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  // A quarter-rate tone sampled 45 degrees off its crests: every sample is at
  // 0.707 of the true peak (the classic +3 dB intersample over).
  cases.push_back({"quarter rate", Tone(12000, std::numbers::pi / 4, 0.9, 48000)});
  cases.push_back({"1 kHz", Tone(1000, 0.3, 0.5, 48000)});
  std::mt19937 random(7);
  std::uniform_int_distribution<int> full(-32768, 32767);
  std::vector<int16_t> noise(48000);
  for (int16_t& s : noise) s = static_cast<int16_t>(full(random));
  cases.push_back({"full-scale noise", noise});
  // A long quiet stretch, then one loud burst spanning a chunk boundary:
  // the stretches the meter skips must not hide it.
  std::vector<int16_t> late = Tone(440, 0.0, 0.05, 100000);
  const std::vector<int16_t> burst = Tone(11000, 1.0, 0.95, 40);
  std::copy(burst.begin(), burst.end(), late.begin() + 90000 - 20);
  cases.push_back({"late burst", late});
  // Alternating full-scale samples: the interpolator's worst ringing.
  std::vector<int16_t> square(2000);
  for (size_t i = 0; i < square.size(); ++i) square[i] = (i / 3) % 2 ? 32767 : -32767;
  cases.push_back({"square", square});
  cases.push_back({"silence", std::vector<int16_t>(5000, 0)});
  return cases;
}

TEST(TruePeak, AgreesWithLibebur128WhateverTheBlockSize) {
  for (const Case& c : Cases()) {
    const double reference = ReferenceTruePeak(c.samples);
    for (int block : {1, 100, 256, 4096}) {
      TruePeakChannel meter;
      for (size_t at = 0; at < c.samples.size(); at += static_cast<size_t>(block))
        meter.Add(c.samples.data() + at,
                  static_cast<int>(std::min(c.samples.size() - at, static_cast<size_t>(block))));
      SCOPED_TRACE(c.name + ", blocks of " + std::to_string(block));
      if (reference == 0.0) {
        EXPECT_EQ(meter.Peak(), 0.0);
        continue;
      }
      // Within 0.05 dB of the library's figure.
      EXPECT_NEAR(20 * std::log10(meter.Peak() / reference), 0.0, 0.05);
    }
  }
  // The over is found, not just the samples: 0.9 of full scale (and the
  // interpolator's ripple at a quarter of the rate), not 0.64.
  TruePeakChannel quarter;
  const std::vector<int16_t> tone = Cases()[0].samples;
  quarter.Add(tone.data(), static_cast<int>(tone.size()));
  EXPECT_NEAR(quarter.Peak(), 0.9, 0.015);
}

TEST(TruePeak, TheMeterReportsBothPeaksOverEveryFile) {
  LoudnessMeter meter(true);
  const std::vector<int16_t> quiet = Tone(1000, 0.0, 0.2, 48000);
  const std::vector<int16_t> over = Tone(12000, std::numbers::pi / 4, 0.9, 48000);
  ASSERT_TRUE(meter.StartFile(48000, 2));
  meter.Add(quiet.data(), quiet.data(), 48000);
  ASSERT_TRUE(meter.StartFile(48000, 1));
  meter.Add(over.data(), nullptr, 48000);
  EXPECT_NEAR(meter.SamplePeak(), 0.9 * std::sqrt(0.5), 0.001);
  EXPECT_NEAR(meter.TruePeak(), 0.9, 0.015);
  // A mono block as sinks receive it, its one channel repeated as `right`.
  LoudnessMeter samplesOnly(false);
  ASSERT_TRUE(samplesOnly.StartFile(48000, 1));
  samplesOnly.Add(over.data(), over.data(), 48000);
  EXPECT_NEAR(samplesOnly.SamplePeak(), 0.9 * std::sqrt(0.5), 0.001);
  EXPECT_DOUBLE_EQ(samplesOnly.TruePeak(), samplesOnly.SamplePeak());
  EXPECT_TRUE(samplesOnly.IntegratedLufs().has_value());
}

}  // namespace
}  // namespace quillo
