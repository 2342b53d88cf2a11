// Paths that are no regular file (FIFOs, directories, missing names) and file
// names that look like URLs, through every reader of the audio library and
// the built-in file readers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "backends/bass/BassSource.h"
#include "backends/bass/CdTrack.h"
#include "backends/bass/FfmpegStream.h"
#include "backends/bass/MidiStream.h"
#include "backends/bass/ModuleStream.h"
#include "backends/bass/Mpg123Stream.h"
#include "backends/bass/SndfileStream.h"
#include "backends/bass/TagReader.h"
#include "backends/bass/WavPackStream.h"
#include "backends/files/AuSource.h"
#include "backends/files/FileStartsWith.h"
#include "backends/files/RiffInfoReader.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using namespace std::chrono_literals;
using Container = audio::FfmpegStream::Container;

// One way of opening a path; true when it opened (or found something).
struct Reader {
  const char* name;
  std::function<bool(const std::string&)> open;
};

std::vector<Reader> EveryReader(const audio::AudioLibrary& library) {
  auto ffmpeg = [](Container container) {
    return [container](const std::string& p) {
      return audio::FfmpegStream::Open(p, container, true, true) != nullptr;
    };
  };
  return {
      {"source", [&library](const std::string& p) { return BassSource(library).Open(p, 0); }},
      {"file tags",
       [&library](const std::string& p) {
         TagInfo tags;
         return ReadFileTags(library, p, tags);
       }},
      {"tag reader",
       [](const std::string& p) {
         audio::TagFields fields;
         return audio::ReadTagFields(p, fields);
       }},
      {"mpg123", [](const std::string& p) { return audio::Mpg123Stream::Open(p) != nullptr; }},
      {"sndfile", [](const std::string& p) { return audio::SndfileStream::Open(p) != nullptr; }},
      {"wavpack", [](const std::string& p) { return audio::WavPackStream::Open(p) != nullptr; }},
      {"ffmpeg mp4", ffmpeg(Container::Mp4)},
      {"ffmpeg adts", ffmpeg(Container::Adts)},
      {"ffmpeg adx", ffmpeg(Container::Adx)},
      {"ffmpeg flac", ffmpeg(Container::Flac)},
      {"ffmpeg ogg flac", ffmpeg(Container::OggFlac)},
      {"adts count", [](const std::string& p) { return audio::CountAdtsSamples(p) != 0; }},
      {"module", [](const std::string& p) { return audio::ModuleStream::Open(p, 0) != nullptr; }},
      {"midi", [](const std::string& p) { return audio::MidiStream::Open(p, 0, "") != nullptr; }},
      {"cd track", [](const std::string& p) { return audio::CdTrackStream::Open(p) != nullptr; }},
      {"starts with",
       [](const std::string& p) {
         return FileStartsWith("RIFF", 4, p) || FileStartsWith("", 0, p);
       }},
      {"riff info",
       [](const std::string& p) {
         TagInfo tags;
         return ReadRiffInfoTags(p, tags);
       }},
      {"au", [](const std::string& p) { return AuSource().Open(p, 0); }},
  };
}

// Runs `call` on a thread of its own. A call still running after two seconds
// counts as hung: the FIFO's writing end is then opened and closed until the
// call returns, so that a hang fails the test instead of blocking it.
bool ReturnsPromptly(const std::string& fifo, const std::function<void()>& call) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    call();
    done = true;
  });
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (!done && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(2ms);
  const bool prompt = done;
  while (!done) {
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    std::this_thread::sleep_for(5ms);
  }
  worker.join();
  return prompt;
}

// Makes `folder` the working directory while it lives.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

class InputPathTest : public ::testing::Test {
 protected:
  void SetUp() override { test::StartLibrary(library_); }

  audio::AudioLibrary library_;
  test::TempDir dir_;
};

TEST_F(InputPathTest, FifosAreRefusedAtOnceByEveryReader) {
  const std::vector<Reader> readers = EveryReader(library_);
  for (const char* ext : {".wav", ".mp3", ".flac", ".wv", ".aac", ".m4a", ".adx", ".ogg", ".aiff",
                          ".mod", ".mid", ".cda", ".au"}) {
    const std::string fifo = dir_.File(std::string("pipe") + ext);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0) << std::strerror(errno);
    for (const Reader& reader : readers) {
      bool opened = true;
      EXPECT_TRUE(ReturnsPromptly(fifo, [&] { opened = reader.open(fifo); }))
          << reader.name << " waits on " << ext;
      EXPECT_FALSE(opened) << reader.name << " opened " << ext;
    }
  }
}

TEST_F(InputPathTest, MissingPathsAndDirectoriesFailColonsAreFileNames) {
  const std::vector<Reader> readers = EveryReader(library_);
  const std::string folder = dir_.File("folder.flac");
  std::filesystem::create_directory(folder);
  for (const std::string& path : {dir_.File("missing.wav"), folder, std::string()}) {
    for (const Reader& reader : readers) EXPECT_FALSE(reader.open(path)) << reader.name << path;
  }

  // Relative names with a colon are local files, not URLs of some protocol.
  const std::string wav = dir_.File("in.wav");
  test::WriteWav(wav, 22050, 2, 16, false, test::Widen(test::Sine(22050, 2, 22050, 440.0, 0.5)));
  const char* const names[] = {"01:30.m4a", "a:b.flac", "file:x.m4a", "c:d.mp3", "e:f.wav"};
  for (const char* name : names)
    ASSERT_TRUE(
        test::Ffmpeg("-i " + test::ShellQuote(wav) + " " + test::ShellQuote(dir_.File(name))));
  const WorkingDirectory here(dir_.path());
  for (const char* name : names) {
    BassSource source(library_);
    EXPECT_TRUE(source.Open(name, 0)) << name;
    EXPECT_NEAR(static_cast<double>(test::DecodeAll(source).Frames()), 22050.0, 2048.0) << name;
  }
}

}  // namespace
}  // namespace quillo
