#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "engine/media/ChannelOrder.h"

namespace quillo {

// Folds frames of three to eight channels into one stereo pair by where each
// channel's speaker sits: a speaker on the left goes to the left output, one
// on the right to the right, and the middle ones (centre, LFE, back and top
// centres) are summed and go into both at 0.707. For 16-bit frames products
// are truncated toward zero and the sums clamped to the 16-bit range; wide
// frames (doubles at full scale 1.0) are neither rounded nor clamped. Frames
// of any other count keep their first two samples.
class StereoFold {
 public:
  // Frames in WAV order: the speakers a WAV file of `channels` channels
  // without a channel mask has (ChannelOrder.h).
  explicit StereoFold(int channels = 0);
  // Frames whose channel i is `speakers[i]` (a WAV mask bit). A list of
  // another length, or one that names a speaker twice or not at all, folds
  // as WAV order.
  StereoFold(int channels, std::span<const int> speakers);

  void Apply(const int16_t* frame, int16_t& left, int16_t& right) const;
  void Apply(const double* frame, double& left, double& right) const;

 private:
  // The sums of the left, right and middle speakers of a frame.
  template <typename Sample, typename Sum>
  std::array<Sum, 3> Sides(const Sample* frame) const;
  void Assign(std::span<const int> speakers);

  int channels_ = 0;
  std::array<FoldSide, 8> sides_{};
};

// Folds one frame of `channels` samples in WAV order (3 to 8; any other count
// keeps the first two) into one stereo pair.
void DownmixToStereo(int channels, const int16_t* frame, int16_t& left, int16_t& right);
void DownmixToStereo(int channels, const double* frame, double& left, double& right);

}  // namespace quillo
