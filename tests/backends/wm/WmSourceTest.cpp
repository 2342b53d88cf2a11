#include <gtest/gtest.h>

#include "backends/wm/WmRuntime.h"
#include "backends/wm/WmSource.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::MakeMedia;

WmRuntime& LoadedRuntime() {
  static WmRuntime runtime;
  EXPECT_TRUE(runtime.Load());
  return runtime;
}

TEST(WmSource, DecodesTheFirstAudioStreamAsFfmpegDoes) {
  test::TempDir dir;
  struct Case {
    const char* name;
    const char* arguments;
    int rate, channels, seconds;
  } cases[] = {
      {"v1.asf", "-f lavfi -i sine=f=500:r=22050:d=2.5 -c:a wmav1 -b:a 32k", 22050, 1, 2},
      {"v2.wma", "-f lavfi -i sine=f=700:r=44100:d=3 -ac 2 -c:a wmav2", 44100, 2, 3},
      {"v2.wm", "-f lavfi -i sine=f=900:r=32000:d=1.2 -c:a wmav2 -f asf", 32000, 1, 1},
      // Video first, audio second: the video is passed over undecoded.
      {"video.wmv",
       "-f lavfi -i testsrc=s=160x120:r=10:d=2 -f lavfi -i sine=f=440:r=48000:d=2 "
       "-map 0:v -map 1:a -ac 2 -c:v wmv2 -c:a wmav2",
       48000, 2, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File(c.name);
    ASSERT_TRUE(MakeMedia(c.arguments, path));
    WmSource source(LoadedRuntime());
    ASSERT_TRUE(source.Open(path, 0));
    EXPECT_EQ(source.GetSampleRate(), c.rate);
    EXPECT_EQ(source.GetChannels(), c.channels);
    EXPECT_EQ(source.GetDurationSeconds(), c.seconds);
    const uint64_t total = source.GetProgressTotal();
    EXPECT_EQ(total / 10000000, static_cast<uint64_t>(c.seconds));

    const test::Decoded decoded = test::ReadAll(source);
    const std::vector<int16_t> expected = test::DecodeWithFfmpeg(path);
    ASSERT_EQ(decoded.samples.size(), expected.size());
    // The 16-bit conversions of the float samples may round apart.
    EXPECT_LE(test::MaxDifference(decoded.samples, expected), 1);
    EXPECT_EQ(decoded.ShortBlocks(), 0);
    EXPECT_FALSE(decoded.rightTouched);
    // Progress runs in stream time: the last sample starts about one frame
    // before the end.
    const double position = static_cast<double>(source.GetProgressPosition());
    EXPECT_NEAR(position, static_cast<double>(total), 2048 * 10000000.0 / c.rate + 1000000);
    source.Close();
    EXPECT_EQ(source.GetSampleRate(), 0);
  }
}

TEST(WmSource, TakesTheFileAttributesAsTags) {
  test::TempDir dir;
  const std::string path = dir.File("tags.wma");
  ASSERT_TRUE(
      MakeMedia("-f lavfi -i sine=d=0.5 -c:a wmav2 -metadata title=Título "
                "-metadata artist=Ar -metadata album=Al -metadata genre=Jazz "
                "-metadata track=7/12 -metadata WM/Year=1999 -metadata comment=Co "
                "-metadata composer=Cm -metadata copyright=Cp",
                path));
  WmSource source(LoadedRuntime());
  ASSERT_TRUE(source.Open(path, 0));
  TagInfo tags;
  ASSERT_TRUE(source.ReadTags(tags));
  EXPECT_EQ(tags, (TagInfo{"Título", "Ar", "Al", "1999", "Jazz", "Co", "7", "Cm", "Cp", "", ""}));
}

TEST(WmSource, LeavesWhatItCannotReadToTheFramework) {
  test::TempDir dir;
  const std::string wma = dir.File("a.wma");
  ASSERT_TRUE(MakeMedia("-f lavfi -i sine=d=0.5 -c:a wmav2", wma));
  const std::string mp3 = dir.File("really-mp3.wma");
  ASSERT_TRUE(MakeMedia("-f lavfi -i sine=d=0.5 -f mp3", mp3));
  const std::string silent = dir.File("video-only.wmv");
  ASSERT_TRUE(MakeMedia("-f lavfi -i testsrc=s=64x48:r=5:d=1 -c:v wmv2", silent));

  WmRuntime unloaded;
  WmSource withoutRuntime(unloaded);
  EXPECT_FALSE(withoutRuntime.Open(wma, 0));

  struct Case {
    std::string path;
    int hasAudio;
  } cases[] = {{mp3, 1}, {silent, 0}, {dir.File("missing.wma"), 1}};
  for (const Case& c : cases) {
    WmSource source(LoadedRuntime());
    EXPECT_FALSE(source.Open(c.path, 0)) << c.path;
    EXPECT_EQ(source.HasAudioStream(), c.hasAudio) << c.path;
  }
}

}  // namespace
}  // namespace quillo
