#include "engine/ChannelOrder.h"

#include <algorithm>
#include <numeric>

namespace quillo {

namespace {

enum Speaker : int {
  kFrontLeft = 0,
  kFrontRight = 1,
  kFrontCenter = 2,
  kLfe = 3,
  kBackLeft = 4,
  kBackRight = 5,
  kBackCenter = 8,
  kSideLeft = 9,
  kSideRight = 10,
};

constexpr size_t kMaxOrderedChannels = 8;

}  // namespace

std::vector<int> WaveOrderOf(std::span<const int> speakers) {
  if (speakers.size() < 3 || speakers.size() > kMaxOrderedChannels) return {};
  std::vector<int> order(speakers.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return speakers[a] < speakers[b]; });
  for (size_t i = 0; i < order.size(); ++i) {
    const int speaker = speakers[static_cast<size_t>(order[i])];
    if (speaker < 0 || (i > 0 && speaker == speakers[static_cast<size_t>(order[i - 1])])) return {};
  }
  if (std::is_sorted(order.begin(), order.end())) return {};
  return order;
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
