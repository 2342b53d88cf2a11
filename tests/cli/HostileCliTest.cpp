// A hostile machine: second paths to a source, odd settings files, missing
// temporary folders, trees that cannot be searched. Every case either works or
// says what went wrong; no source is touched.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::MakeAudio;
using test::RunCli;

constexpr char kSameAsSource[] =
    "Target file name is same as original file that can't be overwritten. Please output files "
    "to a custom folder.";

// A bind mount made for one test and detached again; `ok()` is false where
// the machine does not let us mount (no root, no mount rights).
class BindMount {
 public:
  BindMount(const std::string& from, const std::string& to) : to_(to) {
    ok_ = mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0;
  }
  ~BindMount() {
    if (ok_) umount2(to_.c_str(), MNT_DETACH);
  }
  BindMount(const BindMount&) = delete;
  BindMount& operator=(const BindMount&) = delete;
  bool ok() const { return ok_; }

 private:
  std::string to_;
  bool ok_ = false;
};

class Hostile : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");
};

// A folder that reaches the source through a second path (a bind mount, a
// hard link) is the source's folder: overwrite is refused, for a conversion
// and for a join alike, and the 24-bit source keeps every sample.
TEST_F(Hostile, ASecondPathToTheSourceIsTheSource) {
  fs::create_directories(dir.File("music"));
  const std::string song = dir.File("music/song.wav");
  const std::string other = dir.File("other.wav");
  MakeAudio(song, "sine=frequency=440:sample_rate=44100:duration=1", "-c:a pcm_s24le");
  MakeAudio(other, "sine=frequency=660:sample_rate=44100:duration=1");
  const std::vector<int16_t> before = test::DecodeWithFfmpeg(song);

  fs::create_directories(dir.File("bound"));
  BindMount bound(dir.File("music"), dir.File("bound"));
  fs::create_directories(dir.File("linked"));
  fs::create_hard_link(song, dir.File("linked/song.wav"));
  std::vector<std::string> views = {dir.File("linked")};
  if (bound.ok()) views.push_back(dir.File("bound"));
  else std::cerr << "[ SKIPPED  ] the bind mount case: this machine does not let us mount\n";

  for (const std::string& view : views) {
    SCOPED_TRACE(view);
    const test::CliRun convert =
        RunCli("convert", {"-f", "wav", "-d", view, "--if-exists", "overwrite", song}, config);
    EXPECT_EQ(convert.status, 1);
    EXPECT_EQ(convert.out, song + "\t\t" + kSameAsSource + "\n");

    const std::string target = view + "/song.wav";
    const test::CliRun join =
        RunCli("join", {"-o", target, "--if-exists", "overwrite", song, other}, config);
    EXPECT_EQ(join.status, 1);
    EXPECT_NE(join.err.find("it is one of the files to join"), std::string::npos) << join.err;
  }
  // A join named after one of its inputs, by the same name.
  const test::CliRun join =
      RunCli("join", {"-o", other, "--if-exists", "overwrite", song, other}, config);
  EXPECT_EQ(join.status, 1);
  EXPECT_NE(join.err.find("it is one of the files to join"), std::string::npos) << join.err;

  EXPECT_EQ(test::FfprobeField(test::ProbeWithFfprobe(song), "codec_name"), "pcm_s24le");
  EXPECT_EQ(test::DecodeWithFfmpeg(song), before);
  EXPECT_EQ(test::DecodeWithFfmpeg(other).size(), 44100u);
}

}  // namespace
}  // namespace quillo
