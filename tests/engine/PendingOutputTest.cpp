#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "engine/output/OutputPath.h"
#include "engine/output/PendingOutput.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

size_t FileCount(const fs::path& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

mode_t Mode(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(PendingOutput, CommitReplacesTheTargetWithTheFinishedFile) {
  TempDir dir;
  const std::string target = dir.File("song.mp3");
  WriteFile(target, {1, 1, 1});
  chmod(target.c_str(), 0640);

  PendingOutput output(target);
  EXPECT_EQ(output.path(), "");
  ASSERT_TRUE(output.Create());
  const fs::path temporary = output.path();
  EXPECT_EQ(temporary.parent_path(), dir.path());
  EXPECT_EQ(temporary.extension(), ".mp3");
  // Hidden, and recognisable should a killed run leave it behind.
  EXPECT_EQ(temporary.filename().string().rfind(".song.quillo-part-", 0), 0u);
  EXPECT_TRUE(fs::is_regular_file(temporary));
  EXPECT_EQ(ReadFile(target), (std::vector<uint8_t>{1, 1, 1}));

  WriteFile(output.path(), {2, 2});
  ASSERT_TRUE(output.Commit());
  EXPECT_TRUE(output.path().empty());
  EXPECT_EQ(ReadFile(target), (std::vector<uint8_t>{2, 2}));
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_EQ(Mode(target), 0640u) << "the replacement keeps the old file's permissions";
  EXPECT_EQ(FileCount(dir.path()), 1u);
}

TEST(PendingOutput, NewTargetGetsOrdinaryPermissions) {
  TempDir dir;
  const mode_t old = umask(022);
  {
    PendingOutput output(dir.File("new.wav"));
    ASSERT_TRUE(output.Create());
    ASSERT_TRUE(output.Commit());
  }
  umask(old);
  EXPECT_EQ(Mode(dir.File("new.wav")), 0644u);
}

TEST(PendingOutput, AbandonedOutputLeavesTheOldTargetIntact) {
  TempDir dir;
  const std::string target = dir.File("song.mp3");
  WriteFile(target, {7, 7, 7, 7});
  {
    // The conversion into an existing target under the overwrite policy
    // fails halfway: the old target must survive.
    FileItem item;
    item.path = dir.File("song.flac");
    WriteFile(item.path, {0});
    OutputPathOptions options;
    options.targetPolicy = TargetExistsPolicy::Overwrite;
    std::string message;
    ASSERT_TRUE(MakeOutputPath(item, "mp3", options, message));
    ASSERT_EQ(item.outputPath, target);

    PendingOutput output(item.outputPath);
    ASSERT_TRUE(output.Create());
    WriteFile(output.path(), {5});
  }
  EXPECT_EQ(ReadFile(target), (std::vector<uint8_t>{7, 7, 7, 7}));
  EXPECT_EQ(FileCount(dir.path()), 2u) << "no temporary file is left behind";

  PendingOutput discarded(target);
  ASSERT_TRUE(discarded.Create());
  const std::string temporary = discarded.path();
  discarded.Discard();
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_FALSE(discarded.Commit());
  EXPECT_EQ(ReadFile(target), (std::vector<uint8_t>{7, 7, 7, 7}));
}

TEST(PendingOutput, FailuresAreReported) {
  TempDir dir;
  // No folder to create the temporary file in.
  PendingOutput missing(dir.File("nowhere/song.mp3"));
  EXPECT_FALSE(missing.Create());
  EXPECT_FALSE(missing.Commit());

  // A folder of the target's name cannot be replaced; it stays, and so does
  // nothing else.
  fs::create_directories(dir.File("song.mp3/inside"));
  {
    PendingOutput blocked(dir.File("song.mp3"));
    ASSERT_TRUE(blocked.Create());
    EXPECT_FALSE(blocked.Commit());
  }
  EXPECT_TRUE(fs::is_directory(dir.File("song.mp3/inside")));
  EXPECT_EQ(FileCount(dir.path()), 1u);
}

TEST(PendingOutput, TwoPendingOutputsForOneTargetDoNotCollide) {
  TempDir dir;
  PendingOutput first(dir.File("a.ogg"));
  PendingOutput second(dir.File("a.ogg"));
  ASSERT_TRUE(first.Create());
  ASSERT_TRUE(second.Create());
  EXPECT_NE(first.path(), second.path());
}

}  // namespace
}  // namespace quillo
