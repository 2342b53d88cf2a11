// Tags through the audio library: the field-list text, its split into the
// nine tag texts, and real tags of every container that carries them.
#include <gtest/gtest.h>

#include "backends/bass/BassSource.h"
#include "backends/tags/TagReader.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

constexpr const char* kFormat = "%TRCK\n%TITL\n%ARTI\n%ALBM\n%GNRE\n%YEAR\n%CMNT\n%COMP\n%COPY";

TagInfo Untouched() {
  TagInfo tags;
  tags.title = "keep";
  tags.copyright = "keep too";
  return tags;
}

TEST(TagTextTest, SplitsTheFieldListAtLineFeeds) {
  TagInfo tags = Untouched();
  EXPECT_FALSE(audio::SplitTagText("", tags));
  EXPECT_EQ(tags, Untouched());

  tags = Untouched();
  EXPECT_TRUE(audio::SplitTagText("\n\n\n\n\n\n\n\n", tags));
  EXPECT_EQ(tags, TagInfo{});

  tags = Untouched();
  EXPECT_TRUE(audio::SplitTagText(
      "3/12\nSong\nBand\nRecord\nRock\n1999\nNice\nWriter\n(C) Label\nLtd", tags));
  // The copyright is everything after the eighth line feed.
  EXPECT_EQ(test::TagText(tags), test::TagText({"Song", "Band", "Record", "1999", "Rock", "Nice",
                                                "3/12", "Writer", "(C) Label\nLtd"}));

  // A piece is taken only with the line feed that ends it; the composer
  // waits for the copyright's line feed.
  tags = Untouched();
  EXPECT_TRUE(audio::SplitTagText("7\nTitle without end", tags));
  EXPECT_EQ(tags.track, "7");
  EXPECT_EQ(tags.title, "keep");
  tags = Untouched();
  EXPECT_TRUE(audio::SplitTagText("1\n2\n3\n4\n5\n6\n7\ncomposer only", tags));
  EXPECT_EQ(tags.comment, "7");
  EXPECT_EQ(tags.composer, "");
  EXPECT_EQ(tags.copyright, "keep too");
}

TEST(TagTextTest, FormatsFieldsOnOneLineEach) {
  audio::TagFields fields;
  fields.title = "Title";
  fields.comment = "first line\r\nsecond\nthird";
  fields.track = "4";
  EXPECT_EQ(audio::FormatTagFields(fields, kFormat),
            "4\nTitle\n\n\n\n\nfirst line second third\n\n");
  EXPECT_EQ(audio::FormatTagFields(fields, "%%TITL=%TITL %XXXX%"), "%TITL=Title %XXXX%");
  TagInfo tags;
  ASSERT_TRUE(audio::SplitTagText(audio::FormatTagFields(fields, kFormat), tags));
  EXPECT_EQ(tags.comment, "first line second third");
  EXPECT_EQ(tags.composer, "");
}

class FileTagTest : public test::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    wav_ = dir_.File("plain.wav");
    test::WriteWav(wav_, 44100, 2, 16, false, test::Widen(test::Sine(44100, 2, 44100, 440.0, 0.3)));
  }

  std::string Tagged(const std::string& name, const std::string& extra) {
    return Encode(
        wav_, name,
        "-metadata title='Grey Song' -metadata artist='The Band' -metadata album='Best Of'"
        " -metadata genre=Jazz -metadata date=2004 -metadata comment='Live take'"
        " -metadata track=5 -metadata composer='A. Writer' -metadata copyright='2004 Label' " +
            extra);
  }

  std::string wav_;
};

TEST_F(FileTagTest, ReadsTheTagsOfEveryTaggedContainer) {
  const std::string files[] = {
      Tagged("id3v2.mp3", "-c:a libmp3lame"),
      Tagged("vorbis.flac", ""),
      Tagged("atoms.m4a", "-c:a aac"),
      Tagged("ape.wv", ""),
  };
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    TagInfo tags;
    ASSERT_TRUE(ReadFileTags(library_, path, tags));
    // The track by its number, whatever text the container keeps.
    EXPECT_EQ(TrackNumberFromText(tags.track), 5);
    EXPECT_EQ(test::TagText(tags),
              test::TagText({"Grey Song", "The Band", "Best Of", "2004", "Jazz", "Live take",
                             tags.track, "A. Writer", "2004 Label"}));
  }
}

TEST_F(FileTagTest, ReadsRiffInfoAndId3v1) {
  // RIFF INFO: ffmpeg's WAV writer keeps title, artist, album, genre, date,
  // comment and copyright.
  const std::string wav = Tagged("info.wav", "-c:a pcm_s16le");
  TagInfo tags;
  ASSERT_TRUE(ReadFileTags(library_, wav, tags));
  EXPECT_EQ(tags.title, "Grey Song");
  EXPECT_EQ(tags.artist, "The Band");
  EXPECT_EQ(tags.copyright, "2004 Label");

  // ID3v1 alone: 128 bytes at the end, fixed-width fields, genre 8 (Jazz).
  const std::string v1 = Encode(wav_, "v1.mp3", "-map_metadata -1 -id3v2_version 0");
  std::vector<uint8_t> bytes = test::ReadFile(v1);
  std::vector<uint8_t> tag(128, 0);
  auto put = [&tag](size_t at, const std::string& text) {
    std::copy(text.begin(), text.end(), tag.begin() + static_cast<long>(at));
  };
  put(0, "TAG");
  put(3, "Grey Song");
  put(33, "The Band");
  put(63, "Best Of");
  put(93, "2004");
  put(97, "Live take");
  tag[126] = 5;
  tag[127] = 8;
  bytes.insert(bytes.end(), tag.begin(), tag.end());
  test::WriteFile(v1, bytes);
  TagInfo old;
  ASSERT_TRUE(ReadFileTags(library_, v1, old));
  EXPECT_EQ(old.title, "Grey Song");
  EXPECT_EQ(old.artist, "The Band");
  EXPECT_EQ(old.year, "2004");
  EXPECT_EQ(old.genre, "Jazz");
  EXPECT_EQ(TrackNumberFromText(old.track), 5);
}

TEST_F(FileTagTest, FilesWithoutTagsReportNone) {
  const std::string mp3 = Encode(wav_, "bare.mp3",
                                 "-map_metadata -1 -fflags +bitexact -flags:a +bitexact"
                                 " -id3v2_version 0 -write_xing 0");
  for (const std::string& path : {wav_, mp3}) {
    SCOPED_TRACE(path);
    TagInfo tags = Untouched();
    EXPECT_FALSE(ReadFileTags(library_, path, tags));
    EXPECT_EQ(tags, Untouched());
  }
  // A file that does not open has no tags either.
  TagInfo tags = Untouched();
  EXPECT_FALSE(ReadFileTags(library_, dir_.File("missing.mp3"), tags));
  EXPECT_EQ(tags, Untouched());
  // An open source reads the tags of its own file.
  BassSource source(library_);
  ASSERT_TRUE(source.Open(Tagged("again.flac", ""), 0));
  ASSERT_TRUE(source.ReadTags(tags));
  EXPECT_EQ(tags.album, "Best Of");
}

}  // namespace
}  // namespace quillo
