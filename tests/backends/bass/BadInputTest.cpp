// Input the audio library and the built-in file readers must refuse without
// waiting (FIFOs, folders, missing files) and damage they must decode past.
// Impossible sample rates are checked end to end through the command line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "backends/bass/BassSource.h"
#include "backends/ffmpeg/OggVorbisSource.h"
#include "backends/files/AiffSource.h"
#include "backends/files/AuSource.h"
#include "backends/files/FileStartsWith.h"
#include "backends/files/RiffInfoReader.h"
#include "backends/tags/TagReader.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using namespace std::chrono_literals;
using test::MakeMedia;

// Runs `call` on a thread of its own. A call still running after two seconds
// has hung: the FIFO's writing end is then opened and closed until the call
// returns, so that a hang fails the test instead of blocking it.
bool ReturnsPromptly(const std::string& fifo, const std::function<void()>& call) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    call();
    done = true;
  });
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (!done && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(2ms);
  const bool prompt = done;
  for (int writer; !done; std::this_thread::sleep_for(5ms))
    if ((writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)) >= 0) ::close(writer);
  worker.join();
  return prompt;
}

class BadInputTest : public test::LibraryTest {
 protected:
  bool Opens(const std::string& path) { return BassSource(library_).Open(path, 0); }
};

TEST_F(BadInputTest, FifosMissingPathsAndFoldersFailAtOnceColonsAreFileNames) {
  const std::pair<const char*, std::function<bool(const std::string&)>> readers[] = {
      {"source", [&](const std::string& p) { return Opens(p); }},
      {"tags", [](const std::string& p) { return !audio::ReadTagText(p, "%TITL").empty(); }},
      {"starts with", [](const std::string& p) { return FileStartsWith("", 0, p); }},
      {"riff info",
       [](const std::string& p) {
         TagInfo t;
         return ReadRiffInfoTags(p, t);
       }},
      {"au", [](const std::string& p) { return AuSource().Open(p, 0); }},
      {"aiff", [](const std::string& p) { return AiffSource().Open(p, 0); }},
      {"ogg", [](const std::string& p) { return OggVorbisSource().Open(p, 0); }}};
  std::filesystem::create_directory(dir_.File("folder.flac"));
  for (const char* ext : {".wav", ".mp3", ".flac", ".wv", ".aac", ".m4a", ".adx", ".ogg", ".aiff",
                          ".mod", ".mid", ".cda", ".au"}) {
    const std::string fifo = dir_.File(std::string("pipe") + ext);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [name, open] : readers) {
      bool opened = true;
      EXPECT_TRUE(ReturnsPromptly(fifo, [&] { opened = open(fifo); })) << name << " waits " << ext;
      EXPECT_FALSE(opened || open(dir_.File("missing.wav")) || open(dir_.File("folder.flac")))
          << name << ext;
    }
  }

  // A relative name with a colon is a local file, not the URL of a protocol.
  const char* const names[] = {"01:30.m4a", "a:b.flac", "file:x.m4a", "c:d.mp3", "e:f.wav"};
  for (const char* name : names)
    ASSERT_TRUE(MakeMedia("-f lavfi -i sine=duration=0.5", dir_.File(name)));
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  for (const char* name : names) {
    BassSource source(library_);
    EXPECT_TRUE(source.Open(name, 0) && test::ReadAll(source).Frames() >= 20000) << name;
  }
  std::filesystem::current_path(previous);
}

TEST_F(BadInputTest, FlacDecodesPastDamageAndUpToAnEarlyEnd) {
  // 20 s of two tones under a little noise: 3 MB, of which 200 kB are zeroed.
  const std::string flac = dir_.File("tone.flac");
  ASSERT_TRUE(
      MakeMedia("-f lavfi -i 'aevalsrc=0.5*sin(2*PI*440*t)+0.05*(random(0)-0.5)|"
                "0.5*sin(2*PI*660*t)+0.05*(random(1)-0.5):s=44100:d=20'",
                flac));
  BassSource source(library_);
  ASSERT_TRUE(source.Open(flac, 0));
  const std::vector<int16_t> intact = test::ReadAll(source).samples;
  ASSERT_EQ(intact.size(), 44100u * 20 * 2);

  const std::vector<uint8_t> bytes = test::ReadFile(flac);
  const long middle = static_cast<long>(bytes.size() / 2);
  std::vector<uint8_t> zeroed = bytes;
  std::fill(zeroed.begin() + middle - 100'000, zeroed.begin() + middle + 100'000, 0);
  const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + middle * 6 / 5);
  // What must come out; how much of it, from either end, is the intact audio.
  struct Case {
    std::vector<uint8_t> bytes;
    long leastFrames, sameHead, sameTail;
  };
  for (const Case& c :
       {Case{zeroed, 15 * 44100, 8 * 44100, 44100}, Case{cut, 11 * 44100, 11 * 44100, 0}}) {
    test::WriteFile(flac, c.bytes);
    ASSERT_TRUE(source.Open(flac, 0));
    const std::vector<int16_t> got = test::ReadAll(source).samples;
    ASSERT_GE(static_cast<long>(got.size()), c.leastFrames * 2);
    EXPECT_LE(got.size(), intact.size());
    EXPECT_TRUE(std::equal(intact.begin(), intact.begin() + c.sameHead * 2, got.begin()));
    EXPECT_TRUE(
        std::equal(intact.end() - c.sameTail * 2, intact.end(), got.end() - c.sameTail * 2));
  }
}

}  // namespace
}  // namespace quillo
