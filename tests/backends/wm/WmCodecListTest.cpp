#include <gtest/gtest.h>

#include "backends/wm/WmCodecList.h"
#include "backends/wm/WmRuntime.h"
#include "backends/wm/WmSink.h"

namespace quillo {
namespace {

using F = WindowsMediaFormat;

TEST(WmCodecList, InsertOrdersByRateAndBitRateAndDropsWhatItCannotHold) {
  WmCodecList list;
  for (const F& format : {F{44100, 2, 128000}, F{22050, 2, 64000}, F{44100, 2, 64000},
                          F{44100, 1, 64000},   // same rate and bit rate: in front
                          F{44100, 2, 64000},   // already there
                          F{44100, 6, 128000},  // more than two channels
                          F{48000, 1, 32000}, F{44100, 1, 192000}})
    list.Insert(format);
  EXPECT_EQ(list.entries(), (std::vector<F>{{22050, 2, 64000},
                                            {44100, 1, 64000},
                                            {44100, 2, 64000},
                                            {44100, 2, 128000},
                                            {44100, 1, 192000},
                                            {48000, 1, 32000}}));
}

TEST(PickWmFormat, WalksTheList) {
  const std::vector<F> list = {{22050, 1, 32000}, {32000, 2, 32000}, {32000, 2, 48000},
                               {44100, 2, 64000}, {44100, 2, 96000}, {44100, 2, 128000}};
  const std::vector<F> stereoOnly = {{44100, 2, 64000}, {48000, 2, 128000}};
  struct Case {
    const std::vector<F>* list;
    int rate, bitRate, channels;
    std::optional<F> picked;
  } cases[] = {
      {&list, 44100, 96000, 2, F{44100, 2, 96000}},    // exact
      {&list, 44100, 100000, 2, F{44100, 2, 96000}},   // nearer below
      {&list, 44100, 112000, 2, F{44100, 2, 128000}},  // a tie goes up
      {&list, 44100, 192000, 2, F{44100, 2, 128000}},  // above every bit rate
      {&list, 44100, 48000, 2, F{44100, 2, 64000}},    // below every bit rate
      {&list, 40000, 128000, 2, F{44100, 2, 64000}},   // lowest of the next rate
      {&list, 50000, 64000, 2, F{44100, 2, 128000}},   // highest of the last rate below
      {&list, 44100, 48000, 1, F{22050, 1, 32000}},    // only mono entry lies below
      {&stereoOnly, 44100, 64000, 1, std::nullopt},   {&list, 44100, 64000, 3, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PickWmFormat(*c.list, c.rate, c.bitRate, c.channels), c.picked)
        << c.rate << " Hz, " << c.bitRate << " bit/s, " << c.channels << " channels";
}

TEST(WmRuntime, ListsWhatTheEncoderAcceptsOnceLoaded) {
  WmRuntime runtime;
  EXPECT_TRUE(runtime.Formats().empty());
  EXPECT_FALSE(runtime.PickFormat(44100, 128000, 2));
  ASSERT_TRUE(runtime.Load());
  ASSERT_TRUE(runtime.Load());
  const std::vector<F> formats = runtime.Formats();
  ASSERT_FALSE(formats.empty());

  // In list order, each once, mono or stereo, at the rates and bit rates the
  // encoder takes: it refuses rates above 48000 Hz and bit rates below 24000.
  WmCodecList reordered;
  for (auto it = formats.rbegin(); it != formats.rend(); ++it) reordered.Insert(*it);
  EXPECT_EQ(reordered.entries(), formats);
  for (const F& f : formats) {
    EXPECT_TRUE(f.channels == 1 || f.channels == 2);
    EXPECT_LE(f.sampleRate, 48000);
    EXPECT_GE(f.bitRate, 24000);
  }

  struct Case {
    int rate, bitRate, channels;
    std::optional<F> picked;
  } cases[] = {
      {44100, 128000, 2, F{44100, 2, 128000}}, {48000, 192000, 2, F{48000, 2, 192000}},
      {44100, 100000, 2, F{44100, 2, 96000}},  {44100, 112000, 2, F{44100, 2, 128000}},
      {22050, 20000, 1, F{22050, 1, 24000}},  // the lowest the encoder offers
      {40000, 128000, 2, F{44100, 2, 24000}},  {96000, 128000, 2, F{48000, 2, 320000}},
      {44100, 128000, 6, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(runtime.PickFormat(c.rate, c.bitRate, c.channels), c.picked)
        << c.rate << " Hz, " << c.bitRate << " bit/s, " << c.channels << " channels";
}

TEST(WmSink, SampleTimeAdvancesByTheFramesAtTheInputRate) {
  EXPECT_EQ(WmSink::AdvanceSampleTime(0, 1152, 44100), 261224);
  EXPECT_EQ(WmSink::AdvanceSampleTime(261224, 1152, 44100), 261224 + 261224);
  EXPECT_EQ(WmSink::AdvanceSampleTime(0, 1000, 48000), 208333);  // truncated
}

}  // namespace
}  // namespace quillo
