#include <gtest/gtest.h>

#include "backends/InstalledBackends.h"
#include "backends/ffmpeg/FrameworkProbe.h"
#include "backends/ffmpeg/FrameworkProbeSource.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "engine/Conversion.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::MakeMedia;

using FrameworkProbeSourceTest = test::FolderTest;

TEST_F(FrameworkProbeSourceTest, ReportsWhatTheDecoderReportsWithoutDecoding) {
  const std::string path = dir_.File("clip.mkv");
  ASSERT_TRUE(
      MakeMedia("-f lavfi -i testsrc=size=64x48:rate=5:d=3.5 -f lavfi -i "
                "\"sine=d=3.5\" -filter_complex \"[1:a]pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|"
                "c4=c0|c5=c0[a]\" -map 0:v -map \"[a]\" -c:v mpeg4 -c:a ac3 -b:a 384k -ar 48000",
                path));
  FrameworkSource full;
  ASSERT_TRUE(full.Open(path, 0));
  FrameworkProbeSource probe;
  ASSERT_TRUE(probe.Open(path, 0));
  EXPECT_EQ(probe.HasAudioStream(), 1);
  EXPECT_EQ(probe.GetSampleRate(), 48000);
  EXPECT_EQ(probe.GetSourceChannels(), 6);
  EXPECT_EQ(probe.GetChannels(), 2);
  EXPECT_EQ(probe.GetBitRateKbps(), 384);
  EXPECT_EQ(probe.GetDurationSeconds(), 3);
  EXPECT_EQ(probe.GetBitsPerSample(), 16);
  for (auto get :
       {&MediaSource::GetSampleRate, &MediaSource::GetSourceChannels, &MediaSource::GetChannels,
        &MediaSource::GetBitRateKbps, &MediaSource::GetDurationSeconds})
    EXPECT_EQ((probe.*get)(), (full.*get)());
  int16_t left[kMaxBlockFrames], right[kMaxBlockFrames];
  EXPECT_EQ(probe.Read(left, right), 0);
  EXPECT_EQ(probe.GetProgressTotal(), 0u);
  TagInfo tags;
  EXPECT_FALSE(probe.ReadTags(tags));
  probe.Close();
  EXPECT_EQ(probe.GetSampleRate(), 0);
}

TEST_F(FrameworkProbeSourceTest, VideoWithoutAudioOpensAndSaysSo) {
  const std::string path = dir_.File("mute.avi");
  ASSERT_TRUE(MakeMedia("-f lavfi -i testsrc=size=64x48:rate=5:d=2 -c:v mpeg4", path));
  FrameworkProbeSource probe;
  EXPECT_TRUE(probe.Open(path, 0));
  EXPECT_EQ(probe.HasAudioStream(), 0);
  EXPECT_EQ(probe.GetChannels(), 0);
  EXPECT_EQ(probe.GetDurationSeconds(), 2);

  test::WriteFile(dir_.File("junk.avi"), std::vector<uint8_t>(3000, 0x11));
  EXPECT_FALSE(probe.Open(dir_.File("junk.avi"), 0));
}

TEST_F(FrameworkProbeSourceTest, ProbeFileListsAnOtherKindThroughTheFramework) {
  const std::string path = dir_.File("talk.mkv");
  ASSERT_TRUE(MakeMedia("-f lavfi -i sine=d=5.2 -ac 1 -ar 22050 -c:a libvorbis -b:a 64k", path));
  const InstalledBackends backends;
  MemoryFileList list;
  const ProbeResult result = ProbeFile(path, list, backends.table(), nullptr);
  ASSERT_EQ(result.status, ProbeResult::Status::Added);
  ASSERT_EQ(list.Items().size(), 1u);
  const FileItem& item = list.Items()[0];
  EXPECT_EQ(item.sourceKind, SourceKind::Other);
  EXPECT_EQ(item.duration, 5u);
  EXPECT_EQ(item.sampleRate, 22050);
  EXPECT_EQ(item.channels, 1);
  EXPECT_GT(item.bitRate, 0);  // the container's average: a sine packs well
  EXPECT_LT(item.bitRate, 100);

  // The same file again is a duplicate; garbage is refused.
  EXPECT_EQ(ProbeFile(path, list, backends.table(), nullptr).status,
            ProbeResult::Status::Duplicate);
  test::WriteFile(dir_.File("junk.mkv"), std::vector<uint8_t>(5000, 0x42));
  EXPECT_EQ(ProbeFile(dir_.File("junk.mkv"), list, backends.table(), nullptr).status,
            ProbeResult::Status::Failed);
}

// RIFF files named .dts: raw PCM (which still needs preparing) against a DTS
// bitstream that FFmpeg decodes itself.
TEST_F(FrameworkProbeSourceTest, SeesPcmOnlyWherePcmIs) {
  struct Case {
    const char* name;
    const char* arguments;
    bool pcm;
  };
  const Case cases[] = {
      {"pcm.dts", "-f wav -c:a pcm_s16le", true},
      {"pcm24.wav", "-c:a pcm_s24le", true},
      {"dts.dts", "-f wav -c:a dca -strict -2", false},
      {"adpcm.wav", "-c:a adpcm_ms", false},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File(c.name);
    ASSERT_TRUE(
        MakeMedia("-f lavfi -i sine=d=0.5 -ac 2 -ar 48000 " + std::string(c.arguments), path))
        << c.name;
    EXPECT_EQ(FrameworkSeesPcm(path), c.pcm) << c.name;
  }
  test::WriteFile(dir_.File("noise.dts"), std::vector<uint8_t>(4096, 0x5A));
  EXPECT_FALSE(FrameworkSeesPcm(dir_.File("noise.dts")));
  EXPECT_FALSE(FrameworkSeesPcm(dir_.File("missing.wav")));
}

}  // namespace
}  // namespace quillo
