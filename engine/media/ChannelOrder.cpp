#include "engine/media/ChannelOrder.h"

namespace quillo {

namespace {

enum Speaker : int {
  kFrontLeft = 0,
  kFrontRight = 1,
  kFrontCenter = 2,
  kLfe = 3,
  kBackLeft = 4,
  kBackRight = 5,
  kFrontLeftOfCenter = 6,
  kFrontRightOfCenter = 7,
  kBackCenter = 8,
  kSideLeft = 9,
  kSideRight = 10,
  kTopCenter = 11,
  kTopFrontLeft = 12,
  kTopFrontCenter = 13,
  kTopFrontRight = 14,
  kTopBackLeft = 15,
  kTopBackCenter = 16,
  kTopBackRight = 17,
  // Positions past the WAV mask, numbered as the decoder's AVChannel.
  kStereoLeft = 29,
  kStereoRight = 30,
  kWideLeft = 31,
  kWideRight = 32,
  kSurroundDirectLeft = 33,
  kSurroundDirectRight = 34,
  kLfe2 = 35,
  kTopSideLeft = 36,
  kTopSideRight = 37,
  kBottomFrontCenter = 38,
  kBottomFrontLeft = 39,
  kBottomFrontRight = 40,
};

}  // namespace

std::optional<FoldSide> SideOf(int speaker) {
  switch (speaker) {
    case kFrontLeft:
    case kBackLeft:
    case kFrontLeftOfCenter:
    case kSideLeft:
    case kTopFrontLeft:
    case kTopBackLeft:
    case kStereoLeft:
    case kWideLeft:
    case kSurroundDirectLeft:
    case kTopSideLeft:
    case kBottomFrontLeft:
      return FoldSide::Left;
    case kFrontRight:
    case kBackRight:
    case kFrontRightOfCenter:
    case kSideRight:
    case kTopFrontRight:
    case kTopBackRight:
    case kStereoRight:
    case kWideRight:
    case kSurroundDirectRight:
    case kTopSideRight:
    case kBottomFrontRight:
      return FoldSide::Right;
    case kFrontCenter:
    case kLfe:
    case kBackCenter:
    case kTopCenter:
    case kTopFrontCenter:
    case kTopBackCenter:
    case kLfe2:
    case kBottomFrontCenter:
      return FoldSide::Middle;
    default:
      return std::nullopt;
  }
}

std::vector<int> WaveSpeakers(int channels) {
  switch (channels) {
    case 3:
      return {kFrontLeft, kFrontRight, kFrontCenter};
    case 4:
      return {kFrontLeft, kFrontRight, kBackLeft, kBackRight};
    case 5:
      return {kFrontLeft, kFrontRight, kFrontCenter, kBackLeft, kBackRight};
    case 6:
      return {kFrontLeft, kFrontRight, kFrontCenter, kLfe, kBackLeft, kBackRight};
    case 7:
      return {kFrontLeft, kFrontRight, kFrontCenter, kLfe, kBackCenter, kSideLeft, kSideRight};
    case 8:
      return {kFrontLeft, kFrontRight, kFrontCenter, kLfe,
              kBackLeft,  kBackRight,  kSideLeft,    kSideRight};
    default:
      return {};
  }
}

std::vector<int> MaskSpeakers(uint32_t mask, int channels) {
  std::vector<int> speakers;
  for (int bit = 0; bit < 32 && static_cast<int>(speakers.size()) < channels; ++bit)
    if ((mask >> bit) & 1u) speakers.push_back(bit);
  if (static_cast<int>(speakers.size()) < channels) return {};
  return speakers;
}

std::vector<int> VorbisSpeakers(int channels) {
  switch (channels) {
    case 1:
      return {kFrontCenter};
    case 2:
      return {kFrontLeft, kFrontRight};
    case 3:
      return {kFrontLeft, kFrontCenter, kFrontRight};
    case 4:
      return {kFrontLeft, kFrontRight, kBackLeft, kBackRight};
    case 5:
      return {kFrontLeft, kFrontCenter, kFrontRight, kBackLeft, kBackRight};
    case 6:
      return {kFrontLeft, kFrontCenter, kFrontRight, kBackLeft, kBackRight, kLfe};
    case 7:
      return {kFrontLeft, kFrontCenter, kFrontRight, kSideLeft, kSideRight, kBackCenter, kLfe};
    case 8:
      return {kFrontLeft, kFrontCenter, kFrontRight, kSideLeft,
              kSideRight, kBackLeft,    kBackRight,  kLfe};
    default:
      return {};
  }
}

}  // namespace quillo
