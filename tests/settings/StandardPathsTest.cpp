#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/StandardPaths.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(StandardPathsTest, ConfigFilePathFollowsTheEnvironment) {
  test::TempDir dir;
  const std::string config = dir.File("xdg");
  {
    ScopedEnv quillo("QUILLO_CONFIG", nullptr);
    ScopedEnv xdg("XDG_CONFIG_HOME", config.c_str());
    EXPECT_EQ(ConfigFilePath(), config + "/Quillo 3/quillo.conf");
  }
  {
    ScopedEnv quillo("QUILLO_CONFIG", "/tmp/elsewhere.conf");
    EXPECT_EQ(ConfigFilePath(), "/tmp/elsewhere.conf");
  }
  {
    ScopedEnv quillo("QUILLO_CONFIG", "");
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", dir.path().c_str());
    EXPECT_EQ(ConfigFilePath(), dir.File(".config/Quillo 3/quillo.conf"));
  }
}

// Naming the documents folder does not make it: only an output that goes
// there does.
TEST(StandardPathsTest, DocumentsFolderIsNamedNotCreated) {
  test::TempDir dir;
  ScopedEnv home("HOME", dir.path().c_str());
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("cfg").c_str());
  const std::string documents = DocumentsFolder();
  EXPECT_EQ(documents, dir.File("Documents"));
  EXPECT_FALSE(std::filesystem::exists(documents));
}

}  // namespace
}  // namespace quillo
