#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/StandardPaths.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

TEST(StandardPathsTest, ConfigFilePathFollowsTheEnvironment) {
  test::TempDir dir;
  const std::string config = dir.File("xdg");
  {
    test::ScopedEnv quillo("QUILLO_CONFIG", nullptr);
    test::ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    EXPECT_EQ(ConfigFilePath(), config + "/Quillo 3/quillo.conf");
  }
  {
    test::ScopedEnv quillo("QUILLO_CONFIG", "/tmp/elsewhere.conf");
    EXPECT_EQ(ConfigFilePath(), "/tmp/elsewhere.conf");
  }
  {
    test::ScopedEnv quillo("QUILLO_CONFIG", "");
    test::ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    test::ScopedEnv home("HOME", dir.path().c_str());
    EXPECT_EQ(ConfigFilePath(), dir.File(".config/Quillo 3/quillo.conf"));
  }
}

// Naming the documents folder does not make it: only an output that goes
// there does.
TEST(StandardPathsTest, DocumentsFolderIsNamedNotCreated) {
  test::TempDir dir;
  test::ScopedEnv home("HOME", dir.path().c_str());
  test::ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("cfg").c_str());
  const std::string documents = DocumentsFolder();
  EXPECT_EQ(documents, dir.File("Documents"));
  EXPECT_FALSE(std::filesystem::exists(documents));
}

}  // namespace
}  // namespace quillo
