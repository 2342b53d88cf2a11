#include <gtest/gtest.h>

#include <vector>

#include "backends/ffmpeg/ChannelFold.h"
#include "engine/media/Downmix.h"

extern "C" {
#include <libavutil/mem.h>
}

namespace quillo {
namespace {

// Content of the six 5.1 roles in one frame: L, R, C, LFE, Ls, Rs.
struct Roles {
  int16_t l, r, c, lfe, ls, rs;
};

Roles RolesOf(int i) {
  return {static_cast<int16_t>(1000 + i),     static_cast<int16_t>(-2000 - i),
          static_cast<int16_t>(3000 + 3 * i), static_cast<int16_t>(-400 + i),
          static_cast<int16_t>(5000 - 7 * i), static_cast<int16_t>(i * 11)};
}

int16_t RoleValue(const Roles& roles, AVChannel channel) {
  switch (channel) {
    case AV_CHAN_FRONT_LEFT:
      return roles.l;
    case AV_CHAN_FRONT_RIGHT:
      return roles.r;
    case AV_CHAN_FRONT_CENTER:
      return roles.c;
    case AV_CHAN_LOW_FREQUENCY:
      return roles.lfe;
    case AV_CHAN_SIDE_LEFT:
    case AV_CHAN_BACK_LEFT:
      return roles.ls;
    default:
      return roles.rs;
  }
}

// Folds `frames` frames of 5.1 material arranged in `order`.
std::pair<std::vector<int16_t>, std::vector<int16_t>> Fold(const AVChannelLayout& layout,
                                                           const std::vector<AVChannel>& order,
                                                           int frames) {
  std::vector<int16_t> in;
  for (int i = 0; i < frames; ++i)
    for (AVChannel channel : order) in.push_back(RoleValue(RolesOf(i), channel));
  ChannelFold fold;
  fold.Configure(layout, 2);
  std::vector<int16_t> left(frames), right(frames);
  fold.Apply(in.data(), frames, left.data(), right.data());
  return {left, right};
}

AVChannelLayout CustomLayout(const std::vector<AVChannel>& order) {
  AVChannelLayout layout{};
  layout.order = AV_CHANNEL_ORDER_CUSTOM;
  layout.nb_channels = static_cast<int>(order.size());
  layout.u.map = static_cast<AVChannelCustom*>(av_calloc(order.size(), sizeof(AVChannelCustom)));
  for (size_t i = 0; i < order.size(); ++i) layout.u.map[i].id = order[i];
  return layout;
}

TEST(ChannelFoldTest, FiveOneFoldsByPositionWhateverTheOrder) {
  const int frames = 509;
  const AVChannelLayout native = AV_CHANNEL_LAYOUT_5POINT1_BACK;
  const auto reference = Fold(native,
                              {AV_CHAN_FRONT_LEFT, AV_CHAN_FRONT_RIGHT, AV_CHAN_FRONT_CENTER,
                               AV_CHAN_LOW_FREQUENCY, AV_CHAN_BACK_LEFT, AV_CHAN_BACK_RIGHT},
                              frames);
  // The reference is the engine's six-channel fold of L, R, C, LFE, Ls, Rs.
  for (int i = 0; i < frames; ++i) {
    const Roles r = RolesOf(i);
    const int16_t frame[6] = {r.l, r.r, r.c, r.lfe, r.ls, r.rs};
    int16_t l = 0, rr = 0;
    DownmixToStereo(6, frame, l, rr);
    ASSERT_EQ(reference.first[i], l);
    ASSERT_EQ(reference.second[i], rr);
  }

  const AVChannelLayout side = AV_CHANNEL_LAYOUT_5POINT1;
  EXPECT_EQ(Fold(side,
                 {AV_CHAN_FRONT_LEFT, AV_CHAN_FRONT_RIGHT, AV_CHAN_FRONT_CENTER,
                  AV_CHAN_LOW_FREQUENCY, AV_CHAN_SIDE_LEFT, AV_CHAN_SIDE_RIGHT},
                 frames),
            reference);

  // Orders some decoders deliver: centre first, or the surrounds before the centre.
  for (const std::vector<AVChannel>& order :
       {std::vector<AVChannel>{AV_CHAN_FRONT_CENTER, AV_CHAN_FRONT_LEFT, AV_CHAN_FRONT_RIGHT,
                               AV_CHAN_SIDE_LEFT, AV_CHAN_SIDE_RIGHT, AV_CHAN_LOW_FREQUENCY},
        std::vector<AVChannel>{AV_CHAN_FRONT_LEFT, AV_CHAN_FRONT_RIGHT, AV_CHAN_BACK_LEFT,
                               AV_CHAN_BACK_RIGHT, AV_CHAN_FRONT_CENTER, AV_CHAN_LOW_FREQUENCY}}) {
    AVChannelLayout custom = CustomLayout(order);
    EXPECT_EQ(Fold(custom, order, frames), reference);
    av_channel_layout_uninit(&custom);
  }
}

TEST(ChannelFoldTest, SixChannelsWithoutKnownRolesFoldInFileOrder) {
  AVChannelLayout unknown{};
  unknown.order = AV_CHANNEL_ORDER_UNSPEC;
  unknown.nb_channels = 6;
  const int16_t in[6] = {100, 200, 300, 400, 500, 600};
  ChannelFold fold;
  fold.Configure(unknown, 2);
  int16_t left = 0, right = 0;
  fold.Apply(in, 1, &left, &right);
  int16_t l = 0, r = 0;
  DownmixToStereo(6, in, l, r);
  EXPECT_EQ(left, l);
  EXPECT_EQ(right, r);
}

TEST(ChannelFoldTest, MonoStereoAndOtherCounts) {
  ChannelFold fold;
  {
    const AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    const int16_t in[3] = {1, -2, 3};
    int16_t left[3] = {};
    fold.Configure(mono, 1);
    fold.Apply(in, 3, left, nullptr);  // no right buffer for mono
    EXPECT_EQ(std::vector<int16_t>(left, left + 3), std::vector<int16_t>(in, in + 3));
    // A mono frame inside a stream delivered as stereo fills both sides.
    int16_t right[3] = {};
    fold.Configure(mono, 2);
    fold.Apply(in, 3, left, right);
    EXPECT_EQ(std::vector<int16_t>(right, right + 3), std::vector<int16_t>(in, in + 3));
  }
  {
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    const int16_t in[4] = {1, 2, 3, 4};
    int16_t left[2] = {}, right[2] = {};
    fold.Configure(stereo, 2);
    fold.Apply(in, 2, left, right);
    EXPECT_EQ(left[1], 3);
    EXPECT_EQ(right[1], 4);
  }
  {
    // 7.1 at full scale: the engine's fold, clamped.
    const AVChannelLayout seven = AV_CHANNEL_LAYOUT_7POINT1;
    const int16_t in[8] = {32767, -32768, 32767, 32767, 32767, -32768, 1, 2};
    int16_t left = 0, right = 0;
    fold.Configure(seven, 2);
    fold.Apply(in, 1, &left, &right);
    EXPECT_EQ(left, 32767);
    int16_t l = 0, r = 0;
    DownmixToStereo(8, in, l, r);
    EXPECT_EQ(right, r);
  }
}

}  // namespace
}  // namespace quillo
