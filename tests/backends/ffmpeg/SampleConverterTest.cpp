#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "backends/ffmpeg/SampleConverter.h"

namespace quillo {
namespace {

// Every 16-bit value, as each sample format would carry it, converts back to
// itself (u8 keeps its top byte only).
TEST(SampleConverterTest, EveryValueSurvivesEveryFormat) {
  for (int v = -32768; v <= 32767; ++v) {
    const auto s = static_cast<int16_t>(v);
    ASSERT_EQ(SampleFromS16(s), s);
    ASSERT_EQ(SampleFromS32(static_cast<int32_t>(static_cast<uint32_t>(v) << 16) | 0xFFFF), s);
    ASSERT_EQ(SampleFromS64(static_cast<int64_t>(static_cast<uint64_t>(v) << 48) | 0xFFFFFF), s);
    ASSERT_EQ(FloatToS16(static_cast<float>(v) / 32768.0f), s) << v;
    ASSERT_EQ(DoubleToS16(v / 32768.0), s) << v;
  }
  for (int u = 0; u < 256; ++u) ASSERT_EQ(SampleFromU8(static_cast<uint8_t>(u)), (u - 128) * 256);
}

// The one float-to-16-bit rule of every back-end, and the clamp it shares
// with gain scaling.
TEST(SampleConverterTest, FloatScalesTruncatesAndClamps) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double value;  // full scale -1.0..1.0
    int16_t expected;
  } rows[] = {
      {1.0, 32767},
      {-1.0, -32768},
      {0.5, 16384},
      {1.5, 32767},
      {-7.0, -32768},
      {1e30, 32767},
      {-1e30, -32768},
      {kInf, 32767},
      {-kInf, -32768},
      {kNaN, 0},
      {100.9 / 32768, 100},
      {-100.9 / 32768, -100},
      {0.99999 / 32768, 0},
      {-0.99999 / 32768, 0},
      {32767.5 / 32768, 32767},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_EQ(DoubleToS16(row.value), row.expected);
    EXPECT_EQ(ClampToS16(row.value * 32768.0), row.expected);
    EXPECT_EQ(FloatToS16(static_cast<float>(row.value)), row.expected);
    EXPECT_EQ(ClampToS16(static_cast<float>(row.value * 32768.0)), row.expected);
  }
  EXPECT_EQ(SampleFromS32(-1), -1);  // arithmetic shift keeps the sign
}

// Builds a buffer for `channels` x `frames` values of type T, packed or
// planar, from a value function, and returns the plane pointers.
template <typename T>
struct Buffers {
  std::vector<std::vector<T>> planes;
  std::vector<const uint8_t*> pointers;

  Buffers(bool planar, int channels, int frames, T (*value)(int channel, int frame)) {
    if (planar) {
      planes.assign(channels, std::vector<T>(frames));
      for (int c = 0; c < channels; ++c)
        for (int i = 0; i < frames; ++i) planes[c][i] = value(c, i);
    } else {
      planes.assign(1, std::vector<T>(static_cast<size_t>(channels) * frames));
      for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) planes[0][i * channels + c] = value(c, i);
    }
    for (auto& plane : planes) pointers.push_back(reinterpret_cast<const uint8_t*>(plane.data()));
  }
};

int16_t Expected(int channel, int frame) {
  return static_cast<int16_t>(frame * 97 - channel * 4099);
}

template <typename T>
void CheckLayout(AVSampleFormat format, bool planar, T (*value)(int, int)) {
  SCOPED_TRACE(av_get_sample_fmt_name(format));
  for (int channels : {1, 2, 6, 10}) {
    const int frames = 509;
    Buffers<T> buffers(planar, channels, frames, value);
    SampleConverter converter;
    ASSERT_TRUE(converter.Configure(format, channels));
    const int out = converter.OutChannels();
    EXPECT_EQ(out, std::min(channels, kMaxConvertedChannels));
    // A run from the middle: the first frames must be skipped in both layouts.
    const int first = 100;
    const int count = 300;
    std::vector<int16_t> converted(static_cast<size_t>(count) * out, 0x7777);
    converter.Convert(buffers.pointers.data(), first, count, converted.data());
    for (int i = 0; i < count; ++i)
      for (int c = 0; c < out; ++c)
        ASSERT_EQ(converted[i * out + c], Expected(c, first + i))
            << "channels " << channels << " frame " << i << " channel " << c;
  }
}

TEST(SampleConverterTest, EveryFormatPackedAndPlanar) {
  const auto u8 = [](int c, int i) { return static_cast<uint8_t>((Expected(c, i) >> 8) + 128); };
  const auto s16 = [](int c, int i) { return Expected(c, i); };
  const auto s32 = [](int c, int i) { return static_cast<int32_t>(Expected(c, i) * 65536 + 1234); };
  const auto s64 = [](int c, int i) {
    return static_cast<int64_t>(static_cast<uint64_t>(static_cast<int64_t>(Expected(c, i))) << 48);
  };
  const auto flt = [](int c, int i) { return Expected(c, i) / 32768.0f; };
  const auto dbl = [](int c, int i) { return Expected(c, i) / 32768.0; };

  for (bool planar : {false, true}) {
    // u8 keeps only the top byte, so compare against values with a zero low byte.
    {
      SampleConverter converter;
      const AVSampleFormat format = planar ? AV_SAMPLE_FMT_U8P : AV_SAMPLE_FMT_U8;
      Buffers<uint8_t> buffers(planar, 2, 64, +u8);
      ASSERT_TRUE(converter.Configure(format, 2));
      std::vector<int16_t> converted(128);
      converter.Convert(buffers.pointers.data(), 0, 64, converted.data());
      for (int i = 0; i < 64; ++i)
        for (int c = 0; c < 2; ++c)
          ASSERT_EQ(converted[i * 2 + c], static_cast<int16_t>((Expected(c, i) >> 8) * 256));
    }
    CheckLayout<int16_t>(planar ? AV_SAMPLE_FMT_S16P : AV_SAMPLE_FMT_S16, planar, +s16);
    CheckLayout<int32_t>(planar ? AV_SAMPLE_FMT_S32P : AV_SAMPLE_FMT_S32, planar, +s32);
    CheckLayout<int64_t>(planar ? AV_SAMPLE_FMT_S64P : AV_SAMPLE_FMT_S64, planar, +s64);
    CheckLayout<float>(planar ? AV_SAMPLE_FMT_FLTP : AV_SAMPLE_FMT_FLT, planar, +flt);
    CheckLayout<double>(planar ? AV_SAMPLE_FMT_DBLP : AV_SAMPLE_FMT_DBL, planar, +dbl);
  }
}

TEST(SampleConverterTest, PlanarFloatFullScale) {
  const float left[] = {1.0f, -1.0f, 0.5f, 2.0f};
  const float right[] = {-1.0f, 1.0f, -0.5f, -2.0f};
  const uint8_t* planes[] = {reinterpret_cast<const uint8_t*>(left),
                             reinterpret_cast<const uint8_t*>(right)};
  SampleConverter converter;
  ASSERT_TRUE(converter.Configure(AV_SAMPLE_FMT_FLTP, 2));
  int16_t out[8];
  converter.Convert(planes, 0, 4, out);
  const int16_t expected[] = {32767, -32768, -32768, 32767, 16384, -16384, 32767, -32768};
  EXPECT_TRUE(std::equal(std::begin(out), std::end(out), std::begin(expected)));
}

TEST(SampleConverterTest, RefusesWhatItCannotConvert) {
  SampleConverter converter;
  EXPECT_FALSE(converter.Configure(AV_SAMPLE_FMT_NONE, 2));
  EXPECT_FALSE(converter.Configure(AV_SAMPLE_FMT_NB, 2));
  EXPECT_FALSE(converter.Configure(AV_SAMPLE_FMT_S16, 0));
  EXPECT_EQ(converter.OutChannels(), 0);
  // An unconfigured converter writes nothing.
  int16_t out[2] = {7, 7};
  const int16_t in[2] = {1, 2};
  const uint8_t* planes[] = {reinterpret_cast<const uint8_t*>(in)};
  converter.Convert(planes, 0, 1, out);
  EXPECT_EQ(out[0], 7);
}

}  // namespace
}  // namespace quillo
