#include <gtest/gtest.h>

#include "backends/ffmpeg/FfmpegTags.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::MakeMedia;
using test::ShellQuote;

TEST(FfmpegTagsTest, Utf8IsKeptAndDamageDropped) {
  EXPECT_EQ(ValidUtf8OrEmpty("plain"), "plain");
  EXPECT_EQ(ValidUtf8OrEmpty("Grüße, 東京 🎵"), "Grüße, 東京 🎵");
  EXPECT_EQ(ValidUtf8OrEmpty(""), "");
  EXPECT_EQ(ValidUtf8OrEmpty("caf\xE9"), "");           // Latin-1, not UTF-8
  EXPECT_EQ(ValidUtf8OrEmpty("\xC0\xAF"), "");          // overlong "/"
  EXPECT_EQ(ValidUtf8OrEmpty("\xED\xA0\x80"), "");      // surrogate
  EXPECT_EQ(ValidUtf8OrEmpty("\xF4\x90\x80\x80"), "");  // beyond U+10FFFF
  EXPECT_EQ(ValidUtf8OrEmpty("ab\xE6\x9D"), "");        // cut short
}

class FfmpegTagsFileTest : public test::FolderTest {
 protected:
  // Reads the tags of a file made with `metadata` (ffmpeg -metadata pairs).
  bool Tags(const std::string& name, const std::string& codec, const std::string& metadata,
            TagInfo& tags) {
    const std::string path = dir_.File(name);
    EXPECT_TRUE(
        MakeMedia("-f lavfi -i sine=d=0.3 -fflags +bitexact " + codec + " " + metadata, path))
        << name;
    FrameworkSource source;
    EXPECT_TRUE(source.Open(path, 0)) << name;
    return source.ReadTags(tags);
  }
};

TEST_F(FfmpegTagsFileTest, EveryFieldInUtf8FromEachContainer) {
  const std::string metadata =
      "-metadata title=" + ShellQuote("Grüße aus 東京 🎵") +
      " -metadata artist=" + ShellQuote("Björk") + " -metadata album=" + ShellQuote("Ålbum") +
      " -metadata date=2004-05-01 -metadata genre=" + ShellQuote("Électro") +
      " -metadata comment=" + ShellQuote("naïve") +
      " -metadata copyright=" + ShellQuote("© 2004 Ünïcode") +
      " -metadata composer=" + ShellQuote("Dvořák") + " -metadata track=3/12";
  const TagInfo expected{"Grüße aus 東京 🎵", "Björk", "Ålbum", "2004",
                         "Électro",          "naïve", "3",     "Dvořák",
                         "© 2004 Ünïcode"};

  // Containers keep tags in the container (ID3, Matroska, MP4) or in the
  // stream (Ogg, FLAC's comments).
  const std::pair<const char*, const char*> files[] = {{"t.mp3", "-c:a libmp3lame"},
                                                       {"t.flac", "-c:a flac"},
                                                       {"t.ogg", "-c:a libvorbis"},
                                                       {"t.mkv", "-c:a flac"}};
  for (const auto& [name, codec] : files) {
    TagInfo tags;
    EXPECT_TRUE(Tags(name, codec, metadata, tags)) << name;
    EXPECT_EQ(test::TagText(tags), test::TagText(expected)) << name;
  }

  // MP4 has no copyright field of its own that the muxer writes for it.
  TagInfo tags;
  EXPECT_TRUE(Tags("t.m4a", "-c:a aac", metadata, tags));
  EXPECT_EQ(tags.title, expected.title);
  EXPECT_EQ(tags.artist, expected.artist);
  EXPECT_EQ(tags.year, "2004");
  EXPECT_EQ(tags.track, "3");
  EXPECT_EQ(tags.composer, expected.composer);
}

TEST_F(FfmpegTagsFileTest, TrackAloneAndNoTags) {
  TagInfo tags;
  tags.title = "stale";
  EXPECT_TRUE(Tags("track.mp3", "-c:a libmp3lame", "-metadata track=3", tags));
  TagInfo expected;
  expected.track = "3";
  EXPECT_EQ(tags, expected);

  TagInfo untouched;
  untouched.title = "kept";
  EXPECT_FALSE(Tags("none.flac", "-c:a flac", "-map_metadata -1", untouched));
  EXPECT_EQ(untouched.title, "kept");

  // A zero track and an undated date count as no tag.
  EXPECT_FALSE(
      Tags("zero.mkv", "-c:a flac", "-metadata track=0 -metadata date=unknown", untouched));
}

}  // namespace
}  // namespace quillo
