#include <gtest/gtest.h>

#include "engine/BlockLoop.h"
#include "tests/engine/FakeMedia.h"

namespace quillo {
namespace {

using test::RampSource;
using test::RecordingSink;
using test::ScriptedProgress;

struct LoopRun {
  LoopEnd end;
  std::vector<int16_t> samples;
  ScriptedProgress progress;
};

void RunLoop(LoopRun& run, RampSource& source, BlockRoute route, int sinkChannels) {
  source.Open("", 0);
  RecordingSink sink;
  sink.SetChannels(sinkChannels);
  route.sourceRate = source.GetSampleRate();
  route.sourceChannels = source.GetChannels();
  if (route.outputRate == 0) route.outputRate = route.sourceRate;
  if (route.outputChannels == 0) route.outputChannels = sinkChannels;
  run.end = RunBlockLoop(source, sink, route, run.progress, "Converting", "a.wav");
  run.samples = sink.samples;
}

TEST(BlockLoop, SkipAndLengthWindowsAreSampleExactAcrossBlocks) {
  // Blocks of 509 and 1152 frames put the window edges inside blocks.
  for (int block : {509, 1152, 1000}) {
    RampSource source(44100, 1, 44100 * 3 + 17, block);
    BlockRoute route;
    route.skipFrames = 44100;
    route.lengthFrames = 88200;
    LoopRun run;
    RunLoop(run, source, route, 1);
    ASSERT_EQ(run.end, LoopEnd::Finished);
    ASSERT_EQ(run.samples.size(), 88200u) << block;
    EXPECT_EQ(run.samples.front(), RampSource::Value(44100));
    EXPECT_EQ(run.samples.back(), RampSource::Value(44100 + 88200 - 1));
  }
}

TEST(BlockLoop, SkipOfExactlyWholeBlocks) {
  RampSource source(44100, 2, 1152 * 4, 1152);
  BlockRoute route;
  route.skipFrames = 1152 * 2;
  LoopRun run;
  RunLoop(run, source, route, 2);
  ASSERT_EQ(run.samples.size(), 1152u * 2 * 2);
  EXPECT_EQ(run.samples[0], RampSource::Value(2304));
  EXPECT_EQ(run.samples[1], -RampSource::Value(2304));
}

TEST(BlockLoop, SourceEndingInsideTheSkipFails) {
  RampSource source(8000, 1, 4000, 509, 0);
  BlockRoute route;
  route.skipFrames = 8000;
  LoopRun run;
  RunLoop(run, source, route, 1);
  EXPECT_EQ(run.end, LoopEnd::SkipNotReached);
  EXPECT_TRUE(run.samples.empty());
}

TEST(BlockLoop, GainClampsAndScalesADuplicatedChannelOnce) {
  // A mono source feeding two channels uses the left buffer twice.
  RampSource source(44100, 1, 3000, 509);
  BlockRoute route;
  route.gain = 2.0f;
  route.applyGain = true;
  LoopRun run;
  RunLoop(run, source, route, 2);
  ASSERT_EQ(run.samples.size(), 6000u);
  for (int n = 0; n < 3000; ++n) {
    const int expected = std::clamp(RampSource::Value(n) * 2, -32768, 32767);
    ASSERT_EQ(run.samples[2 * n], expected) << n;
    ASSERT_EQ(run.samples[2 * n + 1], expected) << n;
  }
  // Half gain truncates toward zero: -3 becomes -1, 3 becomes 1.
  EXPECT_EQ(RampSource::Value(9997), -3);
  int16_t odd[] = {-3, 3, -32768, 32767};
  ApplyGain(odd, 4, 0.5f);
  EXPECT_EQ(odd[0], -1);
  EXPECT_EQ(odd[1], 1);
  EXPECT_EQ(odd[2], -16384);
  EXPECT_EQ(odd[3], 16383);
  int16_t loud[] = {20000, -20000};
  ApplyGain(loud, 2, 2.0f);
  EXPECT_EQ(loud[0], 32767);
  EXPECT_EQ(loud[1], -32768);
}

TEST(BlockLoop, PicksOneChannelOrMixes) {
  for (int pick : {1, 2}) {
    RampSource source(44100, 2, 2000, 509);
    BlockRoute route;
    route.pickChannel = pick;
    LoopRun run;
    RunLoop(run, source, route, 1);
    ASSERT_EQ(run.samples.size(), 2000u);
    for (int n = 0; n < 2000; ++n)
      ASSERT_EQ(run.samples[n], pick == 1 ? RampSource::Value(n) : -RampSource::Value(n));
  }
  // Mixing to mono at the same rate goes through the adapter: (L + R) >> 1.
  RampSource source(44100, 2, 2000, 509);
  BlockRoute route;
  route.resample = true;
  LoopRun run;
  RunLoop(run, source, route, 1);
  ASSERT_EQ(run.samples.size(), 2000u);
  for (int n = 0; n < 2000; ++n) ASSERT_EQ(run.samples[n], 0);
}

TEST(BlockLoop, ResamplingDeliversTheWholeLengthAfterTheFlush) {
  RampSource source(8000, 1, 8000 * 2, 509);
  BlockRoute route;
  route.resample = true;
  route.outputRate = 44100;
  route.outputChannels = 2;
  LoopRun run;
  RunLoop(run, source, route, 2);
  ASSERT_EQ(run.end, LoopEnd::Finished);
  const double frames = run.samples.size() / 2.0;
  EXPECT_NEAR(frames, 88200.0, 8.0);
}

TEST(BlockLoop, CancelStopsAtTheNextPoll) {
  RampSource source(44100, 1, 44100, 509);
  LoopRun run{LoopEnd::Finished, {}, ScriptedProgress(3)};
  RunLoop(run, source, BlockRoute{}, 1);
  EXPECT_EQ(run.end, LoopEnd::Cancelled);
  EXPECT_EQ(run.samples.size(), 3u * 509);
}

TEST(BlockLoop, RenderedMaterialStopsAtItsReportedLength) {
  // The renderer would go on; the pass stops once the position reaches the total.
  class EndlessSource final : public MediaSource {
   public:
    void Close() override {}
    bool Open(const std::string&, int) override {
      sampleRate_ = 22050;
      channels_ = 1;
      progressTotal_ = 5000;
      return true;
    }
    int Read(int16_t* left, int16_t*) override {
      std::fill(left, left + 1000, int16_t{7});
      progressPosition_ += 1000;
      return 1000;
    }
  } source;
  source.Open("", 0);
  RecordingSink sink;
  BlockRoute route;
  route.sourceRate = route.outputRate = 22050;
  route.sourceChannels = route.outputChannels = 1;
  route.stopAtProgressTotal = true;
  ScriptedProgress progress;
  EXPECT_EQ(RunBlockLoop(source, sink, route, progress, "Converting", "x.mid"), LoopEnd::Finished);
  EXPECT_EQ(sink.samples.size(), 5000u);
  EXPECT_EQ(progress.fileTexts.back(), "[100%] Converting x.mid...");
}

// A source that stopped on damage is reported only when the loop read it to
// its end: a length window that closed first got all it asked for.
TEST(BlockLoop, ASourceEndingOnDamageIsReportedWhenReadToItsEnd) {
  struct Case {
    int64_t lengthFrames;
    LoopEnd end;
    size_t samples;
  };
  for (const Case& c : {Case{-1, LoopEnd::EndedEarly, 8000}, Case{3000, LoopEnd::Finished, 3000}}) {
    RampSource source(8000, 1, 8000, 509);
    source.EndOnDamage();
    BlockRoute route;
    route.lengthFrames = c.lengthFrames;
    LoopRun run;
    RunLoop(run, source, route, 1);
    EXPECT_EQ(run.end, c.end) << c.lengthFrames;
    EXPECT_EQ(run.samples.size(), c.samples) << c.lengthFrames;
  }
}

TEST(BlockLoop, NothingReadIsReported) {
  RampSource source(44100, 1, 0, 509);
  LoopRun run;
  RunLoop(run, source, BlockRoute{}, 1);
  EXPECT_EQ(run.end, LoopEnd::NothingRead);
}

}  // namespace
}  // namespace quillo
