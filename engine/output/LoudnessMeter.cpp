#include "engine/output/LoudnessMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

namespace quillo {

struct LoudnessMeter::State {
  explicit State(ebur128_state* opened) : state(opened) {}
  ~State() { ebur128_destroy(&state); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ebur128_state* state;
  unsigned channels = 0;
};

LoudnessMeter::LoudnessMeter(bool truePeak) : truePeak_(truePeak) {}

LoudnessMeter::~LoudnessMeter() = default;

bool LoudnessMeter::StartFile(int rate, int channels) {
  if (rate <= 0 || channels < 1 || channels > 2) return false;
  const int mode = EBUR128_MODE_I | (truePeak_ ? EBUR128_MODE_TRUE_PEAK : EBUR128_MODE_SAMPLE_PEAK);
  ebur128_state* state =
      ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(rate), mode);
  if (state == nullptr) return false;
  files_.push_back(std::make_unique<State>(state));
  files_.back()->channels = static_cast<unsigned>(channels);
  return true;
}

void LoudnessMeter::Add(const int16_t* left, const int16_t* right, int frames) {
  if (files_.empty() || frames <= 0) return;
  State& file = *files_.back();
  if (file.channels == 1 || right == nullptr) {
    if (file.channels != 1) return;
    ebur128_add_frames_short(file.state, left, static_cast<size_t>(frames));
    return;
  }
  interleaved_.resize(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    interleaved_[2 * static_cast<size_t>(i)] = left[i];
    interleaved_[2 * static_cast<size_t>(i) + 1] = right[i];
  }
  ebur128_add_frames_short(file.state, interleaved_.data(), static_cast<size_t>(frames));
}

void LoudnessMeter::DropFile() {
  if (!files_.empty()) files_.pop_back();
}

std::optional<double> LoudnessMeter::IntegratedLufs() const {
  if (files_.empty()) return std::nullopt;
  std::vector<ebur128_state*> states;
  for (const auto& file : files_) states.push_back(file->state);
  double loudness = 0.0;
  if (ebur128_loudness_global_multiple(states.data(), states.size(), &loudness) !=
          EBUR128_SUCCESS ||
      !std::isfinite(loudness))
    return std::nullopt;
  return loudness;
}

double LoudnessMeter::SamplePeak() const {
  double peak = 0.0;
  for (const auto& file : files_)
    for (unsigned channel = 0; channel < file->channels; ++channel) {
      double value = 0.0;
      if (ebur128_sample_peak(file->state, channel, &value) == EBUR128_SUCCESS)
        peak = std::max(peak, value);
    }
  return peak;
}

double LoudnessMeter::TruePeak() const {
  if (!truePeak_) return SamplePeak();
  double peak = 0.0;
  for (const auto& file : files_)
    for (unsigned channel = 0; channel < file->channels; ++channel) {
      double value = 0.0;
      if (ebur128_true_peak(file->state, channel, &value) == EBUR128_SUCCESS)
        peak = std::max(peak, value);
    }
  return peak;
}

float LoudnessGain(const LoudnessMeter& meter, double targetLufs) {
  const std::optional<double> loudness = meter.IntegratedLufs();
  if (!loudness) return -1.0f;
  double gainDb = targetLufs - *loudness;
  const double peak = meter.TruePeak();
  if (peak > 0.0) gainDb = std::min(gainDb, -1.0 - 20.0 * std::log10(peak));
  return static_cast<float>(std::pow(10.0, gainDb / 20.0));
}

}  // namespace quillo
