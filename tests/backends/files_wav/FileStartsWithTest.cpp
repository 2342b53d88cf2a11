#include <gtest/gtest.h>

#include <string>

#include "backends/files/FileStartsWith.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::TempDir;
using test::WriteFile;

TEST(FileStartsWith, ComparesTheLeadingBytes) {
  TempDir dir;
  const std::string riff = dir.File("riff.dts");
  WriteFile(riff, {'R', 'I', 'F', 'F', 0x24, 0, 0, 0, 'W', 'A', 'V', 'E'});
  EXPECT_TRUE(FileStartsWith("RIFF", 4, riff));
  EXPECT_TRUE(FileStartsWith("RIFF\x24\0\0\0WAVE", 12, riff));
  EXPECT_FALSE(FileStartsWith("RIFX", 4, riff));
  EXPECT_FALSE(FileStartsWith("riff", 4, riff));
  EXPECT_FALSE(FileStartsWith("RIFF\x24\0\0\0WAVEfmt ", 16, riff)) << "longer than the file";

  const std::string shortFile = dir.File("short.dts");
  WriteFile(shortFile, {'R', 'I', 'F'});
  EXPECT_FALSE(FileStartsWith("RIFF", 4, shortFile));

  EXPECT_FALSE(FileStartsWith("RIFF", 4, dir.File("missing.dts")));
  EXPECT_FALSE(FileStartsWith("RIFF", 4, dir.path().string()));
}

}  // namespace
}  // namespace quillo
