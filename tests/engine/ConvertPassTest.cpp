#include <gtest/gtest.h>

#include <filesystem>

#include "catalog/Catalog.h"
#include "engine/ConvertPass.h"
#include "engine/output/LoudnessMeter.h"
#include "tests/engine/FakeMedia.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// Records its tags into `tags` and writes one byte per frame; Open fails when
// told to, creating its file first as a real encoder might.
class TaggedSink final : public MediaSink {
 public:
  TaggedSink(bool opens, std::string& tags) : opens_(opens), tags_(tags) {}
  void SetTags(const TagInfo& tags) override {
    tags_ = tags.title + "|" + tags.artist + "|" + tags.genre + "|" + tags.year + "|" + tags.track;
  }
  void SetPath(const std::string& path) override { path_ = path; }
  void SetChannels(int c) override { channels_ = c; }
  bool Open() override {
    test::WriteFile(path_, {1, 2, 3});
    return opens_;
  }
  bool Write(const int16_t*, const int16_t*, int frames) override {
    frames_ += frames;
    test::WriteFile(path_, std::vector<uint8_t>(static_cast<size_t>(frames_), 0));
    return true;
  }
  bool Close() override { return true; }

 private:
  bool opens_;
  std::string& tags_;
  std::string path_;
  int channels_ = 0;
  int frames_ = 0;
};

class ConvertPassTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ConversionSettings settings{dir.path().string()};
  ConversionJob job;
  TaggedSink* sink = nullptr;
  bool sinkOpens = true;
  std::string tags = "untouched";
  int64_t sourceFrames = 44100;
  int sourceChannels = 2;
  int sourceBlock = 1152;
  BackendTable backends = test::FakeTable(
      [this](SourceBackend) {
        return std::make_unique<test::RampSource>(44100, sourceChannels, sourceFrames, sourceBlock);
      },
      [this] {
        auto made = std::make_unique<TaggedSink>(sinkOpens, tags);
        sink = made.get();
        return made;
      });
  SourceFactory factory{backends, nullptr};

  PassResult Convert(int formatId, test::ScriptedProgress& progress, PassItem& item) {
    const OutputFormat& row = *FindFormat(settings.formats, formatId);
    PassContext context{settings, row, job, backends, factory, progress};
    return ConvertFile(item, context);
  }
  PassResult Scan(test::ScriptedProgress& progress, PassItem& item, Peaks& peaks,
                  LoudnessMeter* meter) {
    const OutputFormat& row = *FindFormat(settings.formats, format_id::kMp3);
    PassContext context{settings, row, job, backends, factory, progress};
    return NormalizeScan(item, context, peaks, meter);
  }
  // The factory opens only files that exist; the fake sources ignore their content.
  PassItem Item() {
    const std::string source = dir.File("Artist - Song.flac");
    test::WriteFile(source, {});
    return {source, SourceKind::Flac, dir.File("out.x"), "Artist - Song.flac"};
  }
};

TEST_F(ConvertPassTest, CancelDeletesThePartialOutput) {
  test::ScriptedProgress progress(5);
  PassItem item = Item();
  EXPECT_FALSE(Convert(format_id::kMp3, progress, item).ok);
  EXPECT_FALSE(fs::exists(item.outputPath));
}

TEST_F(ConvertPassTest, FailedOpenDeletesTheOutputAndClearsTheRetry) {
  sinkOpens = false;
  test::ScriptedProgress progress;
  PassItem item = Item();
  const PassResult result = Convert(format_id::kMp3, progress, item);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(fs::exists(item.outputPath));
  EXPECT_FALSE(result.retryWithFramework);
}

TEST_F(ConvertPassTest, CustomTagsWithTitleFromNameAndListPosition) {
  settings.id3TagType = TagMode::Custom;
  settings.tags.artist = "Ann";
  settings.tags.genre = "Jazz";
  settings.tags.year = "1999";
  settings.tags.titleAsFileName = 1;
  settings.tags.trackNumType = TrackNumberMode::ListPosition;
  job.position = 4;
  test::ScriptedProgress progress;
  PassItem item = Item();
  ASSERT_TRUE(Convert(format_id::kMp3, progress, item).ok);
  EXPECT_EQ(tags, "Artist - Song|Ann|Jazz|1999|4");
  EXPECT_FLOAT_EQ(job.appliedGain, 1.0f);

  // Rows that carry no tags never see them.
  tags = "untouched";
  ASSERT_TRUE(Convert(format_id::kWav, progress, item).ok);
  EXPECT_EQ(tags, "untouched");
}

TEST_F(ConvertPassTest, SkipLongerThanAKnownDurationFailsBeforeOpening) {
  settings.enableSkipLength = 1;
  settings.skipLength = 1000;  // the ramp lasts exactly one second
  test::ScriptedProgress progress;
  PassItem item = Item();
  const PassResult result = Convert(format_id::kMp3, progress, item);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.retryWithFramework);
  EXPECT_EQ(job.failureDetail, kSkipTooLongDetail);
  EXPECT_EQ(sink, nullptr);
  EXPECT_FALSE(fs::exists(item.outputPath));
}

// The scan reads every block once: the peaks of the delivered channels and
// the loudness of the same samples, the display and the cancel button looked
// at every third block; a cancel leaves neither peaks nor a measurement.
TEST_F(ConvertPassTest, NormalizeScanFindsPeaksAndLoudnessInOneRead) {
  struct Case {
    int channels;
    int block;
    int64_t frames;
    int cancelAfter;  // pumps before the cancel; negative: none
    int16_t minimum;
    int16_t maximum;  // the right channel, -Value(n), reaches +10000
    int pumps;
  };
  const Case cases[] = {
      {2, 1152, 44100, -1, -10000, 10000, 13},  // 39 blocks
      {1, 509, 25000, -1, -10000, 9999, 17},    // 50 blocks
      {2, 509, 44100, 3, 1, -1, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << " channels, blocks of " << c.block);
    sourceChannels = c.channels;
    sourceBlock = c.block;
    sourceFrames = c.frames;
    test::ScriptedProgress progress(c.cancelAfter);
    PassItem item = Item();
    Peaks peaks{1, -1};
    LoudnessMeter meter(false);
    const PassResult result = Scan(progress, item, peaks, &meter);
    EXPECT_EQ(result.ok, c.cancelAfter < 0);
    EXPECT_EQ(peaks.minimum, c.minimum);
    EXPECT_EQ(peaks.maximum, c.maximum);
    EXPECT_EQ(progress.pumps, c.pumps);
    EXPECT_EQ(meter.IntegratedLufs().has_value(), result.ok);
    ASSERT_FALSE(progress.fileTexts.empty());
    EXPECT_EQ(progress.fileTexts.back(), result.ok ? "[100%] Normalizing Artist - Song.flac..."
                                                   : "[11%] Normalizing Artist - Song.flac...");
  }
}

TEST(NormalizeGain, OnlyForPeaksWithRoom) {
  EXPECT_FLOAT_EQ(NormalizeGain(-16384, 16383), 2.0f);  // the smaller of the two gains
  EXPECT_FLOAT_EQ(NormalizeGain(-8192, 16383), 32767.0f / 16383.0f);
  EXPECT_FLOAT_EQ(NormalizeGain(-16384, 8000), 2.0f);
  EXPECT_FLOAT_EQ(NormalizeGain(0, 100), -1.0f);       // no negative peak
  EXPECT_FLOAT_EQ(NormalizeGain(-32763, 100), -1.0f);  // already at full scale
  EXPECT_FLOAT_EQ(NormalizeGain(-100, 32762), -1.0f);
}

TEST(RenderRate, ByRow) {
  ConversionSettings settings("/tmp");
  auto row = [&](int id) -> OutputFormat& { return *FindFormat(settings.formats, id); };
  EXPECT_EQ(RenderRate(row(format_id::kMp3), settings), 44100);
  EXPECT_EQ(RenderRate(row(format_id::kAmr), settings), 8000);
  settings.amrType = AmrBand::Wide;
  EXPECT_EQ(RenderRate(row(format_id::kAmr), settings), 16000);
  EXPECT_EQ(RenderRate(row(format_id::kAwb), settings), 16000);
  EXPECT_EQ(RenderRate(row(format_id::kVoc), settings), 22050);  // manual row: its own rate
  row(format_id::kVoc).sampleRate = 0;
  EXPECT_EQ(RenderRate(row(format_id::kVoc), settings), 44100);
}

}  // namespace
}  // namespace quillo
