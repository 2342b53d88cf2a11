#include "engine/output/LoudnessMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <type_traits>

#include "engine/media/FixedText.h"
#include "engine/output/TruePeak.h"

namespace quillo {

struct LoudnessMeter::State {
  explicit State(ebur128_state* opened) : state(opened) {}
  ~State() { ebur128_destroy(&state); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ebur128_state* state;
  unsigned channels = 0;
  // The largest magnitude of a sample (full scale 1.0), where no true-peak
  // meter sees it.
  double samplePeak = 0.0;
  std::vector<TruePeakChannel> truePeak;  // one a channel, when measured
};

LoudnessMeter::LoudnessMeter(bool truePeak, bool dualMono)
    : truePeak_(truePeak), dualMono_(dualMono) {}

LoudnessMeter::~LoudnessMeter() = default;

bool LoudnessMeter::StartFile(int rate, int channels) {
  if (rate <= 0 || channels < 1 || channels > 2) return false;
  // libebur128 measures the loudness only: the peaks are ours, the true peak
  // skipping the stretches that cannot raise it, which its meter cannot.
  ebur128_state* state = ebur128_init(static_cast<unsigned>(channels),
                                      static_cast<unsigned long>(rate), EBUR128_MODE_I);
  if (state == nullptr) return false;
  if (channels == 1 && dualMono_) ebur128_set_channel(state, 0, EBUR128_DUAL_MONO);
  files_.push_back(std::make_unique<State>(state));
  files_.back()->channels = static_cast<unsigned>(channels);
  if (truePeak_) files_.back()->truePeak.resize(static_cast<size_t>(channels));
  return true;
}

void LoudnessMeter::Add(const int16_t* left, const int16_t* right, int frames) {
  AddSamples(left, right, frames);
}

void LoudnessMeter::Add(const double* left, const double* right, int frames) {
  AddSamples(left, right, frames);
}

namespace {

void AddFrames(ebur128_state* state, const int16_t* frames, size_t count) {
  ebur128_add_frames_short(state, frames, count);
}
void AddFrames(ebur128_state* state, const double* frames, size_t count) {
  ebur128_add_frames_double(state, frames, count);
}
double FullScale(int16_t sample) { return sample / 32768.0; }
double FullScale(double sample) { return sample; }

}  // namespace

template <typename Sample>
void LoudnessMeter::AddSamples(const Sample* left, const Sample* right, int frames) {
  if (files_.empty() || frames <= 0) return;
  State& file = *files_.back();
  // One channel takes `left` alone (a sink's mono block may repeat it as
  // `right`); two need both.
  if (file.channels == 1)
    right = nullptr;
  else if (right == nullptr)
    return;
  if (!file.truePeak.empty()) {  // the true-peak meters see the samples' peak too
    file.truePeak[0].Add(left, frames);
    if (right != nullptr) file.truePeak[1].Add(right, frames);
  } else {
    for (const Sample* channel : {left, right}) {
      if (channel == nullptr) continue;
      for (int i = 0; i < frames; ++i)
        file.samplePeak = std::max(file.samplePeak, std::fabs(FullScale(channel[i])));
    }
  }
  if (right == nullptr) {
    AddFrames(file.state, left, static_cast<size_t>(frames));
    return;
  }
  std::vector<Sample>& interleaved = [this]() -> std::vector<Sample>& {
    if constexpr (std::is_same_v<Sample, double>)
      return interleavedWide_;
    else
      return interleaved_;
  }();
  interleaved.resize(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    interleaved[2 * static_cast<size_t>(i)] = left[i];
    interleaved[2 * static_cast<size_t>(i) + 1] = right[i];
  }
  AddFrames(file.state, interleaved.data(), static_cast<size_t>(frames));
}

void LoudnessMeter::DropFile() {
  if (!files_.empty()) files_.pop_back();
}

void LoudnessMeter::Absorb(LoudnessMeter& other) {
  for (auto& file : other.files_) files_.push_back(std::move(file));
  other.files_.clear();
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
  for (const auto& file : files_) {
    peak = std::max(peak, file->samplePeak);
    for (const TruePeakChannel& channel : file->truePeak)
      peak = std::max(peak, channel.SamplePeak());
  }
  return peak;
}

double LoudnessMeter::TruePeak() const {
  double peak = SamplePeak();
  for (const auto& file : files_)
    for (const TruePeakChannel& channel : file->truePeak) peak = std::max(peak, channel.Peak());
  return peak;
}

std::optional<TrackGain> ReplayGainOf(const LoudnessMeter& meter) {
  const std::optional<double> loudness = meter.IntegratedLufs();
  if (!loudness) return std::nullopt;
  return TrackGain{kReplayGainReferenceLufs - *loudness, meter.SamplePeak()};
}

LevelGain LoudnessGain(const LoudnessMeter& meter, double targetLufs) {
  const std::optional<double> loudness = meter.IntegratedLufs();
  if (!loudness) return {};
  const double wantedDb = targetLufs - *loudness;
  double gainDb = wantedDb;
  // The peak is aimed a little under the limit: the encoder and the rounding
  // to the output's bits move the reconstructed peak by a few hundredths of
  // a dB either way.
  constexpr double kTruePeakAimDb = -1.05;
  const double peak = meter.TruePeak();
  if (peak > 0.0) gainDb = std::min(gainDb, kTruePeakAimDb - 20.0 * std::log10(peak));
  LevelGain level;
  level.gain = static_cast<float>(std::pow(10.0, gainDb / 20.0));
  // Short of the target by more than the rounding of a tenth: say so.
  if (wantedDb - gainDb >= 0.05)
    level.note = FixedText(*loudness + gainDb, 1) + " LUFS, held by the true-peak limit";
  return level;
}

}  // namespace quillo
