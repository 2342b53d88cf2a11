#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

TEST(FormatsCommandTest, ListsEveryFormatInCatalogOrder) {
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(RunFormats({}, out, err), kExitOk);
  EXPECT_EQ(err.str(), "");
  const auto lines = Lines(out.str());
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines.front(), "8300\t to 3G2 (audio only)\t3g2");
  EXPECT_EQ(lines.back(), "3300\t to WavPack (*.wv)\twv");
  EXPECT_EQ(lines[25], "4100\t to OPUS\topus");
  EXPECT_EQ(lines[21], "1000\t to MP3\tmp3");
  EXPECT_EQ(lines[14], "6500\t to M4A (MPEG-4 audio)\tm4a");
  for (const std::string& line : lines) {
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
  }
}

TEST(FormatsCommandTest, RejectsArguments) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunFormats({"mp3"}, out, err), kExitUsage);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("mp3"), std::string::npos);
}

}  // namespace
}  // namespace quillo
