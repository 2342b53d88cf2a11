#include <gtest/gtest.h>

#include "catalog/Catalog.h"
#include "catalog/CodecIds.h"
#include "engine/OutputSelection.h"
#include "tests/engine/FakeMedia.h"

namespace quillo {
namespace {

// Records the setters the selection calls.
class ConfiguredSink final : public MediaSink {
 public:
  void SetPath(const std::string&) override {}
  void SetSampleRate(int hz) override { rate = hz; }
  void SetChannels(int c) override { channels = c; }
  void SetBitRate(int bps) override { bitRate = bps; }
  void SetCodecOptions(const SinkOptions& o) override { options = o; }
  bool Open() override { return true; }
  bool Write(const int16_t*, const int16_t*, int) override { return true; }
  bool Close() override { return true; }
  int rate = -1, channels = -1, bitRate = -1;
  SinkOptions options;
};

class OutputSelectionTest : public ::testing::Test {
 protected:
  ConversionSettings settings{"/tmp"};
  std::vector<FormatBackend> created;
  ConfiguredSink* last = nullptr;
  BackendTable backends = [this] {
    BackendTable table;
    for (FormatBackend backend :
         {FormatBackend::Framework, FormatBackend::Amr, FormatBackend::WindowsMedia})
      table.sinks[backend] = [this, backend]() -> std::unique_ptr<MediaSink> {
        created.push_back(backend);
        auto sink = std::make_unique<ConfiguredSink>();
        last = sink.get();
        return sink;
      };
    return table;
  }();
  OutputFormat& Row(int id) { return *FindFormat(settings.formats, id); }
  std::optional<OutputSelection> Select(int id, int rate, int channels,
                                        SelectionMode mode = SelectionMode::PerFile) {
    return SelectOutput(Row(id), rate, channels, mode, settings, backends);
  }
};

TEST_F(OutputSelectionTest, AutomaticRowFollowsTheSource) {
  auto out = Select(format_id::kMp3, 22050, 1);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->rate, 22050);
  EXPECT_EQ(out->channels, 1);
  EXPECT_EQ(out->bitRate, 48000);  // default for 22050 Hz mono
  EXPECT_EQ(last->rate, 22050);
  EXPECT_EQ(last->channels, 1);
  EXPECT_EQ(last->bitRate, 48000);
  EXPECT_EQ(last->options.containerName, "mp3");
  EXPECT_EQ(last->options.codecId, Row(format_id::kMp3).codecId);
  EXPECT_FALSE(out->pickChannel);

  // 96000 Hz is above the MP3 list: its last entry; stereo 48000 Hz gets 192 kbit/s.
  out = Select(format_id::kMp3, 96000, 2);
  EXPECT_EQ(out->rate, 48000);
  EXPECT_EQ(out->bitRate, 192000);
  // 7000 Hz lies below the list: its first entry.
  EXPECT_EQ(Select(format_id::kMp3, 7000, 2)->rate, 8000);
}

TEST_F(OutputSelectionTest, ChannelMaskDecidesTheChannelCount) {
  // AAC in FLV is stereo only; ALAC keeps mono.
  Row(format_id::kFlv).codecId = codec_id::kAac;
  EXPECT_EQ(Select(format_id::kFlv, 44100, 1)->channels, 2);
  EXPECT_EQ(Select(format_id::kAlac, 44100, 1)->channels, 1);
  // G.726 in a WAV row is mono only and ends at 5 bits per code word.
  OutputFormat& wav = Row(format_id::kWav);
  wav.codecId = codec_id::kAdpcmG726;
  auto out = Select(format_id::kWav, 8000, 2);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->channels, 1);
  EXPECT_EQ(out->bitRate, 5);
  EXPECT_FALSE(out->pickChannel);  // mixing mode average: no pick
  settings.monoType = MonoMixMode::LeftOnly;
  EXPECT_TRUE(Select(format_id::kWav, 8000, 2)->pickChannel);
  EXPECT_FALSE(Select(format_id::kWav, 8000, 2, SelectionMode::Join)->pickChannel);
}

TEST_F(OutputSelectionTest, ManualRowUsesItsOwnValues) {
  OutputFormat& mp3 = Row(format_id::kMp3);
  mp3.autoEncParam = 0;
  mp3.sampleRate = 0;  // the source's
  mp3.channels = 1;
  mp3.bitRate = 0;
  auto out = Select(format_id::kMp3, 32000, 2);
  EXPECT_EQ(out->rate, 32000);
  EXPECT_EQ(out->channels, 1);
  EXPECT_EQ(out->bitRate, 64000);
  mp3.sampleRate = 13000;  // snapped: 12000 is nearer than 16000
  mp3.bitRate = 130000;    // kept as given, then snapped to the list
  out = Select(format_id::kMp3, 32000, 2);
  EXPECT_EQ(out->rate, 12000);
  EXPECT_EQ(out->bitRate, 128000);
  // FLAC has no bit-rate list: the bit rate is 0 in automatic mode.
  EXPECT_EQ(Select(format_id::kFlac, 44100, 2)->bitRate, 0);
}

TEST_F(OutputSelectionTest, RowsWithoutAMatchingCodecOrSinkGiveNothing) {
  Row(format_id::kMp3).codecId = codec_id::kVorbis;  // a stale value: not an MP3 codec
  EXPECT_FALSE(Select(format_id::kMp3, 44100, 2));
  EXPECT_TRUE(created.empty());
  EXPECT_FALSE(Select(format_id::kWma, 44100, 2));
  // A back-end without a writer gives no sink.
  EXPECT_FALSE(SelectOutput(Row(format_id::kAmr), 44100, 2, SelectionMode::PerFile, settings, {}));
}

TEST_F(OutputSelectionTest, AmrRowsTakeTheirModesFromTheSettings) {
  settings.amrType = AmrBand::Wide;
  settings.amrDtx = 1;
  settings.amrMode = 3;
  settings.amrWbMode = 4;
  auto out = Select(format_id::kAmr, 44100, 2);
  ASSERT_TRUE(out);
  EXPECT_EQ(out->rate, 16000);
  EXPECT_EQ(out->channels, 1);
  EXPECT_EQ(last->options.narrowBand, 0);
  EXPECT_EQ(last->options.dtx, 1);
  EXPECT_EQ(last->options.amrMode, 3);
  EXPECT_EQ(last->options.wideBandMode, 4);
  EXPECT_EQ(last->rate, -1);  // the AMR sink's format setters are not called
  // A stereo source is mixed, or gives one channel alone in the left and
  // right mono modes (per file only).
  EXPECT_FALSE(out->pickChannel);
  settings.monoType = MonoMixMode::RightOnly;
  const auto amrPick = [&](int channels, SelectionMode mode) {
    return Select(format_id::kAmr, 44100, channels, mode)->pickChannel;
  };
  EXPECT_TRUE(amrPick(2, SelectionMode::PerFile));
  EXPECT_FALSE(amrPick(1, SelectionMode::PerFile));
  EXPECT_FALSE(amrPick(2, SelectionMode::Join));
  settings.awbMode = 8;
  settings.awbDtx = 0;
  out = Select(format_id::kAwb, 8000, 1);
  EXPECT_EQ(out->rate, 16000);
  EXPECT_EQ(last->options.wideBandMode, 8);
  EXPECT_EQ(last->options.dtx, 0);
}

// Wide audio on an automatic PCM row takes the row's PCM codec of its depth;
// 16-bit audio, other codecs and a codec chosen by hand keep theirs.
TEST_F(OutputSelectionTest, AutomaticPcmRowsKeepTheDepthOfWideAudio) {
  using namespace codec_id;
  const SampleFormat s16, s24{24, false}, s32{32, false}, f32{32, true}, f64{64, true};
  struct Case {
    int format;
    int32_t rowCodec;
    bool automatic;
    SampleFormat reference;
    int32_t expected;
  };
  const Case cases[] = {
      {format_id::kWav, kPcmS16Le, true, s16, kPcmS16Le},
      {format_id::kWav, kPcmS16Le, true, s24, kPcmS24Le},
      {format_id::kWav, kPcmU8, true, s32, kPcmS32Le},
      {format_id::kWav, kPcmS16Le, true, f32, kPcmF32Le},
      {format_id::kWav, kPcmS16Le, true, f64, kPcmF64Le},
      {format_id::kWav, kPcmS16Le, false, s24, kPcmS16Le},
      {format_id::kWav, kPcmAlaw, true, s24, kPcmAlaw},
      {format_id::kAiff, kPcmS16Be, true, s24, kPcmS24Be},
      {format_id::kAu, kPcmS16Be, true, f32, kPcmF32Be},
      {format_id::kAvi, kPcmS16Le, true, s24, kPcmS16Le},  // AVI has no 24-bit PCM
      {format_id::kFlac, kFlac, true, s24, kFlac},
  };
  for (const Case& c : cases) {
    OutputFormat& row = Row(c.format);
    row.codecId = c.rowCodec;
    row.autoEncParam = c.automatic ? 1 : 0;
    // The selection owns the sink that `last` points to: it must outlive the check.
    const std::optional<OutputSelection> selected =
        SelectOutput(row, 96000, 2, SelectionMode::PerFile, settings, backends, c.reference);
    ASSERT_TRUE(selected);
    EXPECT_EQ(last->options.codecId, c.expected)
        << c.format << " " << c.rowCodec << " " << c.reference.bits << c.reference.isFloat;
    if (c.automatic) {
      EXPECT_EQ(last->rate, 96000) << c.format;
    }
  }
}

TEST(DefaultBitRate, Table) {
  EXPECT_EQ(DefaultBitRate(8000, 1), 24000);
  EXPECT_EQ(DefaultBitRate(12000, 2), 48000);
  EXPECT_EQ(DefaultBitRate(16000, 1), 32000);
  EXPECT_EQ(DefaultBitRate(16000, 2), 56000);
  EXPECT_EQ(DefaultBitRate(24000, 2), 64000);
  EXPECT_EQ(DefaultBitRate(32000, 1), 64000);
  EXPECT_EQ(DefaultBitRate(44100, 2), 128000);
  EXPECT_EQ(DefaultBitRate(48000, 1), 128000);
  EXPECT_EQ(DefaultBitRate(96000, 2), 192000);
}

}  // namespace
}  // namespace quillo
