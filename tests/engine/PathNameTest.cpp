#include <gtest/gtest.h>

#include "base/AsciiCase.h"
#include "engine/media/PathName.h"

namespace quillo {
namespace {

TEST(PathName, FileNameStemAndExtension) {
  struct Case {
    const char* path;
    const char* name;
    const char* stem;
    const char* extension;
  };
  const Case cases[] = {
      {"/home/ann/Music/a b.mp3", "a b.mp3", "a b", ".mp3"},
      {"backup.tar.ogg", "backup.tar.ogg", "backup.tar", ".ogg"},  // the last dot
      {"/a.b/c.WAV", "c.WAV", "c", ".WAV"},                        // case kept
      {"/a.b/c", "c", "c", ""},                                    // a folder's dot is no extension
      {"/music/.hidden", ".hidden", "", ".hidden"},                // a leading dot starts one
      {"/music/trailingdot.", "trailingdot.", "trailingdot", "."},
      {"/music/album/", "", "", ""},  // a trailing slash: no name
      {"song", "song", "song", ""},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(StemPart(c.path), c.stem);
    EXPECT_EQ(ExtensionPart(c.path), c.extension);
  }
}

TEST(AsciiCase, OnlyTheAsciiLettersChange) {
  EXPECT_EQ(AsciiLower("Ä.Wav-@[`{Z"), "Ä.wav-@[`{z");
  EXPECT_EQ(AsciiUpper("é.wav-@[`{z"), "é.WAV-@[`{Z");
}

}  // namespace
}  // namespace quillo
