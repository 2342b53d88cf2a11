// A hostile machine: second paths to a source, odd settings files, missing
// temporary folders, trees that cannot be searched. Every case either works or
// says what went wrong; no source is touched.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

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

// Takes from this thread, and the threads it starts, root's power to read
// and search what permissions deny: capabilities belong to each thread, so
// the rest of the test program keeps them. `ok()` is false when that failed.
class NoPermissionOverride {
 public:
  NoPermissionOverride() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ok_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~NoPermissionOverride() {
    if (ok_) syscall(SYS_capset, &header_, saved_);
  }
  NoPermissionOverride(const NoPermissionOverride&) = delete;
  NoPermissionOverride& operator=(const NoPermissionOverride&) = delete;
  bool ok() const { return ok_; }

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool ok_ = false;
};

// An ID3v2.3 tag with a title and a comment of `commentBytes` letters.
std::vector<uint8_t> Id3Tag(size_t commentBytes) {
  std::vector<uint8_t> frames;
  const auto frame = [&frames](const char* id, const std::vector<uint8_t>& body) {
    frames.insert(frames.end(), id, id + 4);
    for (int shift = 24; shift >= 0; shift -= 8)
      frames.push_back(static_cast<uint8_t>(body.size() >> shift));
    frames.insert(frames.end(), {0, 0});
    frames.insert(frames.end(), body.begin(), body.end());
  };
  frame("TIT2", {0, 'T', 'i', 't', 'l', 'e'});
  std::vector<uint8_t> comment = {0, 'e', 'n', 'g', 0};
  comment.resize(comment.size() + commentBytes, 'x');
  frame("COMM", comment);
  std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0};
  for (int shift = 21; shift >= 0; shift -= 7)
    tag.push_back(static_cast<uint8_t>((frames.size() >> shift) & 0x7F));
  tag.insert(tag.end(), frames.begin(), frames.end());
  return tag;
}

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
  if (bound.ok())
    views.push_back(dir.File("bound"));
  else
    std::cerr << "[ SKIPPED  ] the bind mount case: this machine does not let us mount\n";

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

// A source that cannot be read, a folder that cannot be entered and a tree
// too deep to search: each is named with its reason, the rest converts, and
// the exit status says a file was missed.
TEST_F(Hostile, WhatCannotBeReadIsNamed) {
  const std::string music = dir.File("music");
  std::string deep = music;
  for (int level = 0; level < 66; ++level) deep += "/d";
  fs::create_directories(deep);
  fs::create_directories(music + "/locked");
  MakeAudio(music + "/song.wav", "sine=frequency=440:sample_rate=8000:duration=1");
  fs::copy_file(music + "/song.wav", deep + "/lost.wav");
  fs::copy_file(music + "/song.wav", music + "/locked/hidden.wav");
  const std::string unreadable = dir.File("unreadable.wav");
  fs::copy_file(music + "/song.wav", unreadable);
  chmod(unreadable.c_str(), 0);
  chmod((music + "/locked").c_str(), 0);

  NoPermissionOverride denied;
  const int fd = open(unreadable.c_str(), O_RDONLY);
  const bool permissionsHold = denied.ok() && fd < 0;
  if (fd >= 0) close(fd);
  if (!permissionsHold)
    std::cerr << "[ SKIPPED  ] the permission cases: permissions cannot be made to deny here\n";

  const test::CliRun run = RunCli("convert", {"-f", "wav", "-d", out, music, unreadable}, config);
  chmod((music + "/locked").c_str(), 0755);
  EXPECT_EQ(run.status, 1);
  const std::string tooDeep = deep.substr(0, music.size() + 2 * 65);
  EXPECT_NE(
      run.err.find("quillo-cli: could not search " + tooDeep + " (more than 64 folders deep)\n"),
      std::string::npos)
      << run.err;
  EXPECT_EQ(test::DecodeWithFfmpeg(out + "/song.wav").size(), 8000u);
  if (permissionsHold) {
    EXPECT_NE(run.err.find("could not search " + music + "/locked (Permission denied)\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find(unreadable + "\t\tConversion Failure (Permission denied)\n"),
              std::string::npos)
        << run.out;
  }
}

// The documents folder is the default output folder, but naming it makes
// nothing: only an output that goes there does.
TEST_F(Hostile, TheDocumentsFolderIsMadeOnlyWhenAnOutputGoesThere) {
  const std::string home = dir.File("home");
  fs::create_directories(home);
  test::ScopedEnv homeEnv("HOME", home.c_str());
  test::ScopedEnv xdg("XDG_CONFIG_HOME", (home + "/.config").c_str());
  const std::string song = dir.File("song.wav");
  MakeAudio(song, "sine=frequency=440:sample_rate=8000:duration=1");

  ASSERT_EQ(RunCli("convert", {"-f", "wav", "-d", out, song}, config).status, 0);
  std::ostringstream probeOut, probeErr;
  ASSERT_EQ(RunProbe({song}, test::Backends(), probeOut, probeErr), 0);
  EXPECT_FALSE(fs::exists(home + "/Documents"));

  ASSERT_EQ(RunCli("convert", {"-f", "wav", song}, dir.File("fresh.conf")).status, 0);
  EXPECT_EQ(test::DecodeWithFfmpeg(home + "/Documents/song.wav").size(), 8000u);
}

// A stored codec id the row does not have: one warning, and every file
// converts with the row's default codec.
TEST_F(Hostile, AnUnknownStoredCodecWarnsOnceAndUsesTheDefault) {
  const std::string a = dir.File("a.wav");
  const std::string b = dir.File("b.wav");
  MakeAudio(a, "sine=frequency=440:sample_rate=44100:duration=1");
  MakeAudio(b, "sine=frequency=660:sample_rate=44100:duration=2");
  const std::string text = "[Options]\nMP3CodecID=12345\n";
  test::WriteFile(config, std::vector<uint8_t>(text.begin(), text.end()));
  const test::CliRun run = RunCli("convert", {"-f", "mp3", "-d", out, a, b}, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  const size_t first = run.err.find("12345");
  ASSERT_NE(first, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("12345", first + 1), std::string::npos) << "warned once: " << run.err;
  EXPECT_EQ(test::FfprobeField(test::ProbeWithFfprobe(out + "/a.mp3"), "codec_name"), "mp3");
  EXPECT_NEAR(test::DecodeWithFfmpeg(out + "/b.mp3").size(), 2.0 * 44100, 2 * 1152.0);
}

// Tag texts beyond any real tag are cut: an ID3 block over 10 MiB is read only
// that far (the frame cut off there is dropped, the title before it kept),
// and a text over 1 MiB is cut to 1 MiB. The audio converts whole.
TEST_F(Hostile, HugeTagTextsAreCapped) {
  const std::string plain = dir.File("plain.mp3");
  MakeAudio(plain, "sine=frequency=440:sample_rate=44100:duration=1", "-id3v2_version 0");
  const std::vector<uint8_t> audio = test::ReadFile(plain);
  const struct {
    const char* name;
    size_t commentBytes;
    size_t expectedComment;
  } cases[] = {{"huge.mp3", 12u << 20, 0}, {"long.mp3", 3u << 19, 1u << 20}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = Id3Tag(c.commentBytes);
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    const std::string source = dir.File(c.name);
    test::WriteFile(source, bytes);
    const test::CliRun run = RunCli("convert", {"-f", "mp3", "-d", out, source}, config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string output = out + "/" + c.name;
    const std::string tags =
        test::Capture("ffprobe -v error -show_entries format_tags=title,comment -of default=nw=1 " +
                      test::ShellQuote(output));
    EXPECT_NE(tags.find("TAG:title=Title\n"), std::string::npos) << tags.substr(0, 200);
    const size_t comment = tags.find("TAG:comment=");
    if (c.expectedComment == 0) {
      EXPECT_EQ(comment, std::string::npos);
    } else {
      ASSERT_NE(comment, std::string::npos);
      const size_t start = comment + 12;
      EXPECT_EQ(tags.find('\n', start) - start, c.expectedComment);
    }
    EXPECT_NEAR(test::DecodeWithFfmpeg(output).size(), 44100.0, 2 * 1152.0);
  }
}

}  // namespace
}  // namespace quillo
