#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "backends/files/RiffInfoReader.h"
#include "tests/backends/files_wav/RiffBuilder.h"
#include "tests/support/TestSupport.h"

namespace quillo {

namespace {

using test::RiffBuilder;
using test::ShellQuote;
using test::SubChunk;
using test::TempDir;
using test::WriteFile;

struct Read {
  bool found;
  TagInfo tags;
};

Read ReadBytes(const std::vector<uint8_t>& bytes) {
  TempDir dir;
  const std::string path = dir.File("tags.wav");
  WriteFile(path, bytes);
  Read result;
  result.tags.title = "stale";
  result.tags.composer = "stale";
  result.found = ReadRiffInfoTags(path, result.tags);
  return result;
}

Read ReadInfo(const std::string& subChunks) {
  return ReadBytes(RiffBuilder().PcmFormat().Chunk("LIST", "INFO" + subChunks).Bytes());
}

TEST(ReadRiffInfoTags, ReadsTheInfoList) {
  const Read r =
      ReadInfo(SubChunk("INAM", "Song") + SubChunk("IART", "Band") +
               SubChunk("ICRD", "2004-05-12") + SubChunk("IGNR", "(17)") + SubChunk("ITRK", "3") +
               SubChunk("IPRD", "Album") + SubChunk("ICMT", "Nice") + SubChunk("ICOP", "(c) Us") +
               SubChunk("ICMS", "Commissioner") + SubChunk("ISFT", "Writer 1.0"));
  EXPECT_TRUE(r.found);
  EXPECT_EQ(test::TagText(r.tags),
            test::TagText({"Song", "Band", "Album", "2004", "Rock", "Nice", "3", "", "(c) Us"}));
  EXPECT_EQ(TrackNumberFromText(r.tags.track), 3);
}

TEST(ReadRiffInfoTags, GenreReferencesAndIndexes) {
  struct Case {
    std::string subChunks;
    std::string genre;
  };
  const std::string igre17 = std::string("IGRE") + '\1' + '\0' + '\0' + '\0' + '\x11' + '\0';
  const std::string igre200 = std::string("IGRE") + '\1' + '\0' + '\0' + '\0' + '\xC8' + '\0';
  const Case cases[] = {
      {SubChunk("IGNR", "(17)"), "Rock"},
      {SubChunk("IGNR", "(17)Rock and more"), "Rock"},
      {SubChunk("IGNR", "(0)"), "Blues"},
      {SubChunk("IGNR", "(147)"), "Synthpop"},
      {SubChunk("IGNR", "(148)"), "(148)"},
      {SubChunk("IGNR", "(200)"), "(200)"},
      {SubChunk("IGNR", "(99999999999999999999)"), "(99999999999999999999)"},
      {SubChunk("IGNR", "17"), "17"},
      {SubChunk("IGNR", "(Rock)"), "(Rock)"},
      {SubChunk("IGNR", "Polka"), "Polka"},
      {igre17, "Rock"},
      {igre200, ""},
      {SubChunk("IGNR", "Polka") + igre17, "Polka"},
  };
  for (const Case& c : cases) {
    const Read r = ReadInfo(c.subChunks);
    EXPECT_TRUE(r.found) << c.genre;
    EXPECT_EQ(r.tags.genre, c.genre);
  }
}

// A sub-chunk exactly as some writers leave it: its size, its text, no
// terminating zero and no pad byte after an odd length.
std::string Unpadded(const std::string& id, const std::string& text) {
  std::string out = id;
  for (int i = 0; i < 4; ++i) out += static_cast<char>(text.size() >> (8 * i));
  return out + text;
}

TEST(ReadRiffInfoTags, EveryFieldOfListsWithoutPadBytes) {
  // The sub-chunks, and the title, artist, year, genre and track they give.
  const std::pair<std::string, std::string> cases[] = {
      {Unpadded("INAM", "Abc") + Unpadded("IART", "Bands") + Unpadded("ICRD", "19999") +
           Unpadded("IGNR", "(17)") + Unpadded("ITRK", "7"),
       "Abc|Bands|1999|Rock|7"},
      {Unpadded("ITRK", std::string("12\0", 3)) + Unpadded("INAM", std::string("Song\0", 5)),
       "Song||||12"},
      {Unpadded("IPRT", "5") + Unpadded("INAM", "Odd"), "Odd||||5"},
      {Unpadded("ITRK", "3") + Unpadded("IPRT", "9") + Unpadded("IART", "A"), "|A|||3"},
      {std::string("IGRE\1\0\0\0\x11", 9) + Unpadded("INAM", "Idx"), "Idx|||Rock|"},
  };
  for (const auto& [subChunks, expected] : cases) {
    const Read r = ReadInfo(subChunks);
    EXPECT_TRUE(r.found);
    const TagInfo& t = r.tags;
    EXPECT_EQ(t.title + "|" + t.artist + "|" + t.year + "|" + t.genre + "|" + t.track, expected);
  }
}

TEST(ReadRiffInfoTags, SubChunkQuirks) {
  // Lower-case ids are not ours.
  Read r = ReadInfo(SubChunk("inam", "Song"));
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.tags.title, "");

  // A size running past the list is cut at its end.
  std::string overlong = "INAM";
  overlong += std::string("\xFF\x00\x00\x00", 4) + "Longer";
  r = ReadInfo(SubChunk("IART", "Band") + overlong);
  EXPECT_EQ(r.tags.artist, "Band");
  EXPECT_EQ(r.tags.title, "Longer");

  // Writers that leave out the pad byte or the zero are followed anyway.
  r = ReadInfo(std::string("INAM\x03\x00\x00\x00"
                           "Abc",
                           11) +
               SubChunk("IART", "Band", false));
  EXPECT_EQ(r.tags.title, "Abc");
  EXPECT_EQ(r.tags.artist, "Band");

  // An empty sub-chunk fills nothing; a later one of the same id wins.
  r = ReadInfo(std::string("INAM\0\0\0\0", 8) + SubChunk("IART", "One") + SubChunk("IART", "Two"));
  EXPECT_EQ(r.tags.title, "");
  EXPECT_EQ(r.tags.artist, "Two");

  // Text in no particular encoding arrives as UTF-8.
  r = ReadInfo(SubChunk("INAM", "Caf\xE9 \x80") + SubChunk("IART", "Ca\xC3\xA9"));
  EXPECT_EQ(r.tags.title, "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(r.tags.artist, "Ca\xC3\xA9");
}

TEST(ReadRiffInfoTags, WalksOddChunksPadsAndLaterLists) {
  // An odd-sized chunk with its pad byte, then the list.
  Read r = ReadBytes(RiffBuilder()
                         .Chunk("junk", "abc")
                         .PcmFormat()
                         .Chunk("LIST", "INFO" + SubChunk("INAM", "After pad"))
                         .Bytes());
  EXPECT_EQ(r.tags.title, "After pad");

  // A LIST that is not INFO is stepped over; a second INFO list replaces the first.
  r = ReadBytes(RiffBuilder()
                    .Chunk("LIST", "adtl" + SubChunk("INAM", "Not a tag"))
                    .Chunk("LIST", "INFO" + SubChunk("INAM", "First") + SubChunk("IART", "Band"))
                    .Chunk("LIST", "INFO" + SubChunk("INAM", "Second"))
                    .Bytes());
  EXPECT_EQ(r.tags.title, "Second");
  EXPECT_EQ(r.tags.artist, "");
}

TEST(ReadRiffInfoTags, TruncatedAndLyingLists) {
  // The file ends inside the list: what is there is read.
  std::vector<uint8_t> bytes =
      RiffBuilder()
          .PcmFormat()
          .Chunk("LIST", "INFO" + SubChunk("IART", "Band") + SubChunk("INAM", "A long title"))
          .Bytes();
  bytes.resize(bytes.size() - 8);
  Read r = ReadBytes(bytes);
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.tags.artist, "Band");
  EXPECT_EQ(r.tags.title, "A long");

  // A list claiming 4 GiB in a tiny file.
  r = ReadBytes(
      RiffBuilder().Raw("LIST").U32(0xFFFFFFF0u).Raw("INFO" + SubChunk("INAM", "Small")).Bytes());
  EXPECT_EQ(r.tags.title, "Small");

  // A list too short to hold its own type.
  r = ReadBytes(RiffBuilder().Raw("LIST").U32(2).Raw("INFO").Bytes());
  EXPECT_FALSE(r.found);

  // A data chunk whose size runs past the end of the file.
  r = ReadBytes(RiffBuilder().Raw("data").U32(0x7FFFFFFF).Raw("pcm").Bytes());
  EXPECT_FALSE(r.found);
}

TEST(ReadRiffInfoTags, DisplayTextIsTheTitleFallback) {
  Read r =
      ReadBytes(RiffBuilder().PcmFormat().Chunk("DISP", std::string("\1\0\0\0Shown", 9)).Bytes());
  EXPECT_TRUE(r.found);
  EXPECT_EQ(r.tags.title, "Shown");

  r = ReadBytes(RiffBuilder()
                    .Chunk("DISP", std::string("\1\0\0\0Shown\0junk", 14))
                    .Chunk("LIST", "INFO" + SubChunk("INAM", "Named"))
                    .Bytes());
  EXPECT_EQ(r.tags.title, "Named");

  r = ReadBytes(RiffBuilder().Chunk("DISP", std::string("\x08\0\0\0Bitmap", 10)).Bytes());
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.tags.title, "");

  // A text display whose file ends before its text (once read through a null
  // pointer).
  r = ReadBytes(
      RiffBuilder().PcmFormat().Raw("DISP").U32(10).Raw(std::string("\1\0\0\0", 4)).Bytes());
  EXPECT_FALSE(r.found);
  EXPECT_EQ(r.tags.title, "");
}

TEST(ReadRiffInfoTags, NotAWaveFile) {
  TempDir dir;
  const std::vector<std::vector<uint8_t>> headers = {
      {},
      {'R', 'I', 'F'},
      RiffBuilder("AVI ").Chunk("LIST", "INFO" + SubChunk("INAM", "Video")).Bytes(),
      {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'},
      {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'},
  };
  for (const auto& bytes : headers) {
    const Read r = ReadBytes(bytes);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.tags, TagInfo{});
  }
  TagInfo tags;
  tags.artist = "stale";
  EXPECT_FALSE(ReadRiffInfoTags(dir.File("missing.wav"), tags));
  EXPECT_EQ(tags, TagInfo{});
  EXPECT_FALSE(ReadRiffInfoTags(dir.path().string(), tags));
}

// Whatever the bytes, the reader ends, and nothing it returns is longer than
// the file could hold (three UTF-8 bytes per 8-bit character at most).
TEST(ReadRiffInfoTags, SurvivesCorruptedFiles) {
  const std::vector<uint8_t> good =
      RiffBuilder()
          .Chunk("junk", "abc")
          .PcmFormat()
          .Chunk("DISP", std::string("\1\0\0\0Shown", 9))
          .Chunk("LIST", "INFO" + SubChunk("INAM", "Song") + SubChunk("IGNR", "(17)") +
                             SubChunk("ICRD", "2004") + std::string("IGRE\1\0\0\0\x11\0", 10))
          .Bytes();
  TempDir dir;
  const std::string path = dir.File("fuzz.wav");
  std::mt19937 random(2026);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes = good;
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits; ++e) {
      // Keep the form header in most rounds so the chunk walk is reached.
      const size_t at = (round % 10 == 0 ? 0 : 12) + random() % (bytes.size() - 12);
      bytes[at] = static_cast<uint8_t>(random() % 3 == 0 ? 0xFF : random());
    }
    if (round % 3 == 0) bytes.resize(random() % bytes.size());
    // A fresh file each round: truncating one in place is slow on some file systems.
    std::filesystem::remove(path);
    test::WriteFile(path, bytes);
    TagInfo tags;
    ReadRiffInfoTags(path, tags);
    for (const std::string* field : {&tags.title, &tags.artist, &tags.album, &tags.year,
                                     &tags.genre, &tags.comment, &tags.track, &tags.copyright}) {
      ASSERT_LE(field->size(), std::max<size_t>(3 * bytes.size(), 32)) << "round " << round;
    }
    ASSERT_EQ(tags.composer, "");
  }
}

TEST(ReadRiffInfoTags, ReadsWhatFfmpegWrites) {
  TempDir dir;
  const std::string path = dir.File("tagged.wav");
  ASSERT_EQ(test::Run("ffmpeg -v error -f lavfi -i sine=frequency=440:duration=1 -ac 2 "
                      "-metadata title='Song Title' -metadata artist=Band -metadata album=Disc "
                      "-metadata date=1999-01-02 -metadata genre=Jazz -metadata comment=Hello "
                      "-metadata copyright=Us -metadata track=7 -y " +
                      ShellQuote(path)),
            0);
  TagInfo tags;
  ASSERT_TRUE(ReadRiffInfoTags(path, tags));
  // The track is written as the part number.
  EXPECT_EQ(test::TagText(tags),
            test::TagText({"Song Title", "Band", "Disc", "1999", "Jazz", "Hello", "7", "", "Us"}));

  // Without tags the file yields nothing.
  const std::string bare = dir.File("bare.wav");
  ASSERT_EQ(test::Run("ffmpeg -v error -f lavfi -i sine=duration=1 -fflags +bitexact -y " +
                      ShellQuote(bare)),
            0);
  EXPECT_FALSE(ReadRiffInfoTags(bare, tags));
}

}  // namespace
}  // namespace quillo
