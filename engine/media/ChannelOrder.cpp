#include "engine/media/ChannelOrder.h"

#include <algorithm>
#include <initializer_list>

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
  struct SideRow {
    FoldSide side;
    std::initializer_list<int> speakers;
  };
  static const SideRow kRows[] = {
      {FoldSide::Left,
       {kFrontLeft, kBackLeft, kFrontLeftOfCenter, kSideLeft, kTopFrontLeft, kTopBackLeft,
        kStereoLeft, kWideLeft, kSurroundDirectLeft, kTopSideLeft, kBottomFrontLeft}},
      {FoldSide::Right,
       {kFrontRight, kBackRight, kFrontRightOfCenter, kSideRight, kTopFrontRight, kTopBackRight,
        kStereoRight, kWideRight, kSurroundDirectRight, kTopSideRight, kBottomFrontRight}},
      {FoldSide::Middle,
       {kFrontCenter, kLfe, kBackCenter, kTopCenter, kTopFrontCenter, kTopBackCenter, kLfe2,
        kBottomFrontCenter}},
  };
  for (const SideRow& row : kRows)
    if (std::find(row.speakers.begin(), row.speakers.end(), speaker) != row.speakers.end())
      return row.side;
  return std::nullopt;
}

std::vector<int> WaveSpeakers(int channels) {
  // By channel count; counts without a row have no WAV order of their own.
  static const std::vector<int> kOrders[] = {
      {},
      {},
      {},
      {kFrontLeft, kFrontRight, kFrontCenter},
      {kFrontLeft, kFrontRight, kBackLeft, kBackRight},
      {kFrontLeft, kFrontRight, kFrontCenter, kBackLeft, kBackRight},
      {kFrontLeft, kFrontRight, kFrontCenter, kLfe, kBackLeft, kBackRight},
      {kFrontLeft, kFrontRight, kFrontCenter, kLfe, kBackCenter, kSideLeft, kSideRight},
      {kFrontLeft, kFrontRight, kFrontCenter, kLfe, kBackLeft, kBackRight, kSideLeft, kSideRight},
  };
  return channels >= 0 && channels <= 8 ? kOrders[channels] : std::vector<int>{};
}

std::vector<int> MaskSpeakers(uint32_t mask, int channels) {
  std::vector<int> speakers;
  for (int bit = 0; bit < 32 && static_cast<int>(speakers.size()) < channels; ++bit)
    if ((mask >> bit) & 1u) speakers.push_back(bit);
  if (static_cast<int>(speakers.size()) < channels) return {};
  return speakers;
}

std::vector<int> VorbisSpeakers(int channels) {
  // By channel count.
  static const std::vector<int> kOrders[] = {
      {},
      {kFrontCenter},
      {kFrontLeft, kFrontRight},
      {kFrontLeft, kFrontCenter, kFrontRight},
      {kFrontLeft, kFrontRight, kBackLeft, kBackRight},
      {kFrontLeft, kFrontCenter, kFrontRight, kBackLeft, kBackRight},
      {kFrontLeft, kFrontCenter, kFrontRight, kBackLeft, kBackRight, kLfe},
      {kFrontLeft, kFrontCenter, kFrontRight, kSideLeft, kSideRight, kBackCenter, kLfe},
      {kFrontLeft, kFrontCenter, kFrontRight, kSideLeft, kSideRight, kBackLeft, kBackRight, kLfe},
  };
  return channels >= 0 && channels <= 8 ? kOrders[channels] : std::vector<int>{};
}

}  // namespace quillo
