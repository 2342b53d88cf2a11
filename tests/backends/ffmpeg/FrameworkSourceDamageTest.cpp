// Broken input: whatever FrameworkSource is given, Open fails or Read ends
// early; it never crashes, hangs or reads past its buffers. (Also run under
// AddressSanitizer: configure with -DQUILLO_SANITIZE=ON.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "backends/ffmpeg/FrameworkProbeSource.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::Decoded;
using test::MakeMedia;

class FrameworkSourceDamageTest : public test::FolderTest {
 protected:
  // Opens `path` with both framework sources; reads the full one to the end
  // when it opens. Returns what was read.
  Decoded OpenAndRead(const std::string& path, bool* opened = nullptr) {
    SCOPED_TRACE(path);
    FrameworkProbeSource probe;
    probe.Open(path, 0);
    FrameworkSource source;
    const bool ok = source.Open(path, 0);
    if (opened != nullptr) *opened = ok;
    if (!ok) {
      int16_t left[kMaxBlockFrames], right[kMaxBlockFrames];
      EXPECT_EQ(source.Read(left, right), 0) << path;
      return {};
    }
    return test::ReadAll(source);  // fails the test on a block above kMaxBlockFrames
  }
};

TEST_F(FrameworkSourceDamageTest, MissingEmptyAndNonFiles) {
  bool opened = true;
  OpenAndRead(dir_.File("missing.mp3"), &opened);
  EXPECT_FALSE(opened);
  // A file that cannot be read is a failure, not a file without audio.
  FrameworkSource unreadable;
  EXPECT_FALSE(unreadable.Open(dir_.File("missing.mp3"), 0));
  EXPECT_EQ(unreadable.HasAudioStream(), 1);
  test::WriteFile(dir_.File("empty.mp3"), {});
  OpenAndRead(dir_.File("empty.mp3"), &opened);
  EXPECT_FALSE(opened);
  OpenAndRead(dir_.path().string(), &opened);  // a folder
  EXPECT_FALSE(opened);
  OpenAndRead("", &opened);
  EXPECT_FALSE(opened);
  // A FIFO would block a reader forever; it is refused up front.
  const std::string fifo = dir_.File("pipe.wav");
  ASSERT_EQ(test::Run("mkfifo " + test::ShellQuote(fifo)), 0);
  OpenAndRead(fifo, &opened);
  EXPECT_FALSE(opened);
  FrameworkProbeSource probe;
  EXPECT_FALSE(probe.Open(fifo, 0));
}

TEST_F(FrameworkSourceDamageTest, NamesThatLookLikeUrlsAreFiles) {
  // FFmpeg would take "name:rest" as a protocol; here it is a file name.
  struct WorkingFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    ~WorkingFolder() { std::filesystem::current_path(previous); }
  } restore;
  std::filesystem::current_path(dir_.path());
  ASSERT_TRUE(MakeMedia("-f lavfi -i sine=d=0.5 -c:a pcm_s16le", dir_.File("odd.wav")));
  std::filesystem::rename("odd.wav", "concat:odd.wav");
  FrameworkSource source;
  EXPECT_TRUE(source.Open("concat:odd.wav", 0));
  EXPECT_EQ(test::ReadAll(source).Frames(), 22050u);
}

TEST_F(FrameworkSourceDamageTest, GarbageFailsOrEndsQuietly) {
  uint32_t state = 99;
  std::vector<uint8_t> noise(200000);
  for (auto& byte : noise) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<uint8_t>(state >> 16);
  }
  for (const char* name : {"noise.mp3", "noise.mkv", "noise.bin"}) {
    test::WriteFile(dir_.File(name), noise);
    OpenAndRead(dir_.File(name));
  }
  // An MPEG audio header followed by noise.
  std::vector<uint8_t> fake = {0xFF, 0xFB, 0x90, 0x64};
  fake.insert(fake.end(), noise.begin(), noise.end());
  test::WriteFile(dir_.File("fake.mp3"), fake);
  OpenAndRead(dir_.File("fake.mp3"));
  // A RIFF header claiming float data of an absurd channel count.
  std::vector<uint8_t> riff = {'R',  'I',  'F',  'F',  0xFF, 0xFF, 0xFF, 0x7F, 'W',  'A',  'V',
                               'E',  'f',  'm',  't',  ' ',  16,   0,    0,    0,    3,    0,
                               0xFF, 0x00, 0x44, 0xAC, 0,    0,    0,    0,    0,    0,    4,
                               0,    32,   0,    'd',  'a',  't',  'a',  0xFF, 0xFF, 0xFF, 0x7F};
  riff.insert(riff.end(), noise.begin(), noise.begin() + 10000);
  test::WriteFile(dir_.File("wide.wav"), riff);
  OpenAndRead(dir_.File("wide.wav"));
}

TEST_F(FrameworkSourceDamageTest, TruncatedAndCorruptedFilesEndEarly) {
  struct Case {
    const char* name;
    const char* arguments;
  };
  const Case cases[] = {{"t.mp3", "-c:a libmp3lame"},
                        {"t.m4a", "-c:a aac"},
                        {"fast.m4a", "-c:a aac -movflags +faststart"},
                        {"t.flac", "-c:a flac"},
                        {"t.ogg", "-c:a libvorbis"},
                        {"t.wav", "-c:a pcm_s16le"},
                        {"t.mkv", "-c:a ac3"},
                        {"t.wma", "-c:a wmav2"}};
  for (const Case& c : cases) {
    const std::string path = dir_.File(c.name);
    ASSERT_TRUE(MakeMedia("-f lavfi -i sine=f=500:d=4 -ac 2 " + std::string(c.arguments), path));
    const Decoded whole = OpenAndRead(path);
    ASSERT_GT(whole.Frames(), 150000u) << c.name;
    const std::vector<uint8_t> bytes = test::ReadFile(path);

    // Cut in half: fails to open (an index at the end is gone) or ends early.
    const std::string cut = dir_.File(std::string("cut-") + c.name);
    test::WriteFile(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    EXPECT_LT(OpenAndRead(cut).Frames(), whole.Frames() * 3 / 4) << c.name;

    // Every 97th byte after the first kilobyte flipped.
    std::vector<uint8_t> damaged = bytes;
    for (size_t i = 1024; i < damaged.size(); i += 97) damaged[i] ^= 0x5A;
    const std::string broken = dir_.File(std::string("bad-") + c.name);
    test::WriteFile(broken, damaged);
    OpenAndRead(broken);
  }
}

// A stretch of zeroes loses that stretch only: the demuxer and the decoder
// find the next page or frame after it. A file cut short gives what it holds.
TEST_F(FrameworkSourceDamageTest, DamagedFilesDecodeAroundTheDamage) {
  // Faint noise keeps the sines from compressing to almost nothing, so the
  // zeroed 200 kB are a small part of the file. Ogg fails reads on the
  // damage before it finds the next page; raw FLAC only fails to decode.
  const std::string tones =
      "-f lavfi -i \"aevalsrc=0.5*sin(440*2*PI*t)+0.02*(random(0)-0.5)|"
      "0.5*sin(660*2*PI*t)+0.02*(random(1)-0.5):d=20:s=44100\" -c:a flac ";
  for (const char* extension : {"flac", "ogg"}) {
    const std::string path = dir_.File(std::string("whole.") + extension);
    ASSERT_TRUE(MakeMedia(tones, path));
    const std::vector<uint8_t> bytes = test::ReadFile(path);
    ASSERT_GT(bytes.size(), 2000000u);

    std::vector<uint8_t> zeroed = bytes;
    std::fill_n(zeroed.begin() + static_cast<long>(bytes.size() / 2 - 100000), 200000, 0);
    const std::string zeroedPath = dir_.File(std::string("zeroed.") + extension);
    test::WriteFile(zeroedPath, zeroed);
    const Decoded repaired = OpenAndRead(zeroedPath);
    EXPECT_GE(repaired.Frames(), 15u * 44100) << extension;
    EXPECT_LE(repaired.Frames(), 20u * 44100) << extension;
    // What comes after the gap is still the 660 Hz tone on the right.
    ASSERT_EQ(repaired.channels, 2);
    int crossings = 0;
    const size_t last = repaired.Frames() - 1;
    for (size_t i = last - 44100; i < last; ++i)
      if ((repaired.samples[2 * i + 1] < 0) != (repaired.samples[2 * i + 3] < 0)) ++crossings;
    EXPECT_NEAR(crossings, 1320, 20) << extension;

    const std::string cutPath = dir_.File(std::string("cut.") + extension);
    test::WriteFile(cutPath, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    const Decoded cut = OpenAndRead(cutPath);
    EXPECT_GE(cut.Frames(), 9u * 44100) << extension;
    EXPECT_LE(cut.Frames(), 11u * 44100) << extension;
  }
}

}  // namespace
}  // namespace quillo
