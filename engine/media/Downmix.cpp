#include "engine/media/Downmix.h"

#include <algorithm>
#include <vector>

#include "engine/media/SampleScale.h"

namespace quillo {

namespace {

constexpr float kCentre = 0.707f;
constexpr double kCentreWide = 0.707;
constexpr int kMinFoldChannels = 3;
constexpr int kMaxFoldChannels = 8;

// The float product truncates toward zero on conversion, as intended.
int Scaled(int value) { return static_cast<int>(kCentre * static_cast<float>(value)); }

bool Folds(int channels) { return channels >= kMinFoldChannels && channels <= kMaxFoldChannels; }

}  // namespace

StereoFold::StereoFold(int channels) : channels_(channels) {
  if (Folds(channels)) Assign(WaveSpeakers(channels));
}

StereoFold::StereoFold(int channels, std::span<const int> speakers) : StereoFold(channels) {
  if (!Folds(channels) || speakers.size() != static_cast<size_t>(channels)) return;
  std::vector<int> sorted(speakers.begin(), speakers.end());
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return;
  if (std::any_of(sorted.begin(), sorted.end(),
                  [](int speaker) { return !SideOf(speaker).has_value(); }))
    return;
  Assign(speakers);
}

void StereoFold::Assign(std::span<const int> speakers) {
  for (size_t i = 0; i < speakers.size() && i < sides_.size(); ++i) {
    sides_[i] = SideOf(speakers[i]).value_or(FoldSide::Middle);
  }
}

template <typename Sample, typename Sum>
std::array<Sum, 3> StereoFold::Sides(const Sample* frame) const {
  std::array<Sum, 3> sums{};
  for (int i = 0; i < channels_; ++i)
    sums[static_cast<size_t>(sides_[static_cast<size_t>(i)])] += frame[i];
  return sums;
}

void StereoFold::Apply(const int16_t* frame, int16_t& left, int16_t& right) const {
  if (!Folds(channels_)) {
    left = frame[0];
    right = frame[1];
    return;
  }
  const auto [l, r, middle] = Sides<int16_t, int>(frame);
  // The middle speakers are summed before the one multiplication.
  const int m = Scaled(middle);
  left = ClampToS16(l + m);
  right = ClampToS16(r + m);
}

void StereoFold::Apply(const double* frame, double& left, double& right) const {
  if (!Folds(channels_)) {
    left = frame[0];
    right = frame[1];
    return;
  }
  const auto [l, r, middle] = Sides<double, double>(frame);
  const double m = kCentreWide * middle;
  left = l + m;
  right = r + m;
}

namespace {

template <typename Sample>
void FoldInWaveOrder(int channels, const Sample* frame, Sample& left, Sample& right) {
  static const std::array<StereoFold, kMaxFoldChannels + 1> kWaveOrder = {
      StereoFold(0), StereoFold(1), StereoFold(2), StereoFold(3), StereoFold(4),
      StereoFold(5), StereoFold(6), StereoFold(7), StereoFold(8)};
  if (Folds(channels))
    kWaveOrder[static_cast<size_t>(channels)].Apply(frame, left, right);
  else
    StereoFold().Apply(frame, left, right);
}

}  // namespace

void DownmixToStereo(int channels, const int16_t* frame, int16_t& left, int16_t& right) {
  FoldInWaveOrder(channels, frame, left, right);
}

void DownmixToStereo(int channels, const double* frame, double& left, double& right) {
  FoldInWaveOrder(channels, frame, left, right);
}

}  // namespace quillo
