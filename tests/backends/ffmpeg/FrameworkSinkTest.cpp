// FrameworkSink behaviour beyond the catalog matrix: refused settings, frame
// assembly, the codec rules, tags and an unclosed sink.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "backends/ffmpeg/FrameworkSink.h"
#include "base/AsciiCase.h"
#include "tests/backends/ffmpeg/SinkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// Left and right differ (440 Hz and a 660 Hz at another level), so a swap
// or a lost channel shows.
std::vector<int16_t> TwoTones(int rate, int channels, int frames) {
  std::vector<int16_t> samples(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    samples[static_cast<size_t>(i) * channels] =
        static_cast<int16_t>(std::lround(20000 * std::sin(2 * M_PI * 440 * i / rate)));
    if (channels == 2)
      samples[static_cast<size_t>(i) * 2 + 1] =
          static_cast<int16_t>(std::lround(-9000 * std::sin(2 * M_PI * 660 * i / rate)));
  }
  return samples;
}

struct RefusedCase {
  const char* what;
  SinkSetup setup;
};

TEST(FrameworkSinkTest, RefusedSettingsFailOpenAndLeaveNoFile) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  const RefusedCase cases[] = {
      {"unknown container", {path, "no-such-container", 0x15001}},
      {"no container", {path, "", 0x15001}},
      {"unknown codec id", {path, "wav", 0x99999}},
      {"rate the MP3 encoder lacks", {path, "mp3", 0x15001, 6000, 2, 128000}},
      {"GSM at 44100 Hz", {path, "wav", 0x15020, 44100, 1}},
      {"AMR-NB in stereo", {path, "3gp", 0x12000, 8000, 2, 12200}},
      {"AMR-NB at 16000 Hz", {path, "3gp", 0x12000, 16000, 1, 12200}},
      {"three channels", {path, "wav", 0x10000, 44100, 3}},
      {"no rate", {path, "wav", 0x10000, 0, 2}},
      // The MP3 container takes MP3 only: the header is refused after the
      // file was created, and the file must go again.
      {"codec the container refuses", {path, "mp3", 0x10000, 44100, 2}},
      {"missing folder", {dir.File("missing/out.wav"), "wav", 0x10000, 44100, 2}},
  };
  for (const RefusedCase& c : cases) {
    auto sink = MakeFrameworkSink();
    Configure(*sink, c.setup);
    EXPECT_FALSE(sink->Open()) << c.what;
    EXPECT_FALSE(sink->ErrorText().empty()) << c.what;
    EXPECT_FALSE(std::filesystem::exists(c.setup.path)) << c.what;
    const int16_t block[4] = {};
    EXPECT_FALSE(sink->Write(block, block, 2)) << c.what;
  }
}

TEST(FrameworkSinkTest, ClosedSinkTakesNoMoreAndClosesOnce) {
  TempDir dir;
  const std::string path = dir.File("out.wav");
  auto sink = MakeFrameworkSink();
  Configure(*sink, {path, "wav", 0x10000, 8000, 1});
  ASSERT_TRUE(sink->Open());
  const std::vector<int16_t> input = Sine(8000, 1, 800, 440, 0.5);
  EXPECT_TRUE(WriteAll(*sink, input, 1, 800));
  sink->Close();
  EXPECT_FALSE(sink->Write(input.data(), nullptr, 100));
  sink->Close();
  EXPECT_EQ(DecodeWithFfmpeg(path), input);
}

// Odd block sizes against the encoders' frame sizes; both channels distinct.
TEST(FrameworkSinkTest, LosslessOutputIsSampleExactAtOddBlockSizes) {
  struct Lossless {
    const char* container;
    const char* extension;
    int32_t codecId;
    int channels;
  };
  const Lossless cases[] = {
      {"wav", "wav", 0x10000, 1},  {"wav", "wav", 0x10000, 2},   {"aiff", "aiff", 0x1000D, 2},
      {"au", "au", 0x10016, 1},    {"flac", "flac", 0x1500E, 2}, {"flac", "flac", 0x1500E, 1},
      {"ipod", "m4a", 0x15012, 2}, {"ogg", "ogg", 0x1500E, 2},   {"wav", "wav", 0x10008, 2},
      {"wv", "wv", 0x1501B, 2},    {"wv", "wv", 0x1501B, 1},
  };
  for (const Lossless& c : cases) {
    // Every codec at an odd size; FLAC stereo also one frame at a time and in
    // whole engine blocks.
    const bool allSizes =
        c.codecId == 0x1500E && c.channels == 2 && std::string(c.container) == "flac";
    for (int block : allSizes ? std::vector<int>{1, 509, 1152} : std::vector<int>{509}) {
      TempDir dir;
      const std::string path = dir.File(std::string("out.") + c.extension);
      const std::vector<int16_t> input = TwoTones(44100, c.channels, 10007);
      ASSERT_TRUE(EncodeWithSink({path, c.container, c.codecId, 44100, c.channels}, input, block));
      EXPECT_TRUE(DecodeWithFfmpeg(path) == input)
          << c.container << " " << c.codecId << " " << c.channels << " channels, blocks of "
          << block;
    }
  }
}

// The packet sizes of a file's audio stream, as ffprobe lists them.
std::vector<int> PacketSizes(const std::string& path) {
  std::vector<int> sizes;
  std::istringstream lines(
      Capture("ffprobe -v error -select_streams a:0 -show_entries "
              "packet=size -of csv=p=0 " +
              ShellQuote(path)));
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) sizes.push_back(std::stoi(line));
  return sizes;
}

// Opus's bit-rate mode and WavPack's compression level reach the encoders:
// constant-rate Opus packets all have one size where variable ones differ;
// WavPack's highest level makes a smaller file of the same samples than its
// fastest.
TEST(FrameworkSinkTest, CodecOptionsReachTheEncoder) {
  TempDir dir;
  std::vector<int16_t> input = TwoTones(48000, 2, 48000);
  // Louder in its second half: a variable rate spends more there.
  for (size_t i = input.size() / 2; i < input.size(); ++i)
    input[i] = static_cast<int16_t>(input[i] / 2 + (static_cast<int>(i * 7919 % 2001) - 1000) * 4);
  std::set<int> sizes[2];
  for (int vbr : {0, 1}) {
    const std::string path = dir.File("vbr" + std::to_string(vbr) + ".opus");
    SinkSetup setup{path, "opus", 0x1503C, 48000, 2, 96000};
    setup.variableBitRate = vbr;
    ASSERT_TRUE(EncodeWithSink(setup, input, 1000));
    const std::vector<int> packets = PacketSizes(path);
    ASSERT_GT(packets.size(), 40u);
    // The last packet holds the padding and may be cut short.
    sizes[vbr].insert(packets.begin(), packets.end() - 1);
  }
  EXPECT_EQ(sizes[0].size(), 1u);
  EXPECT_GT(sizes[1].size(), 5u);

  std::uintmax_t bytes[2] = {};
  for (int level : {0, 3}) {
    const std::string path = dir.File("level" + std::to_string(level) + ".wv");
    SinkSetup setup{path, "wv", 0x1501B, 48000, 2};
    setup.compressionLevel = level;
    ASSERT_TRUE(EncodeWithSink(setup, input, 1000));
    EXPECT_TRUE(DecodeWithFfmpeg(path) == input) << level;
    bytes[level / 3] = std::filesystem::file_size(path);
  }
  EXPECT_LT(bytes[1], bytes[0]);
}

TEST(FrameworkSinkTest, LossyOutputKeepsBothChannelsApart) {
  TempDir dir;
  const std::string path = dir.File("out.mp3");
  const std::vector<int16_t> input = TwoTones(44100, 2, 44100);
  ASSERT_TRUE(EncodeWithSink({path, "mp3", 0x15001, 44100, 2, 192000}, input, 1152));
  const std::vector<int16_t> decoded = DecodeWithFfmpeg(path);
  std::vector<int16_t> left, right;
  for (size_t i = 0; i + 1 < decoded.size(); i += 2) {
    left.push_back(decoded[i]);
    right.push_back(decoded[i + 1]);
  }
  EXPECT_NEAR(CrossingsPerSecond(left, 1, 44100), 880, 40);
  EXPECT_NEAR(CrossingsPerSecond(right, 1, 44100), 1320, 60);
  EXPECT_NEAR(MiddleRms(left, 1) / MiddleRms(right, 1), 20000.0 / 9000.0, 0.3);
}

// A last partial frame still reaches the file: 100 frames past ten whole
// MP3 frames.
TEST(FrameworkSinkTest, LastPartialFrameIsEncoded) {
  TempDir dir;
  for (int extra : {0, 100}) {
    const std::string path = dir.File("out" + std::to_string(extra) + ".wav");
    const int frames = 10 * 1152 + extra;
    const std::vector<int16_t> input = Sine(44100, 2, frames, 1000, 0.5);
    // MP3 in WAV carries no gapless information: what is decoded is what
    // was encoded, whole frames.
    ASSERT_TRUE(EncodeWithSink({path, "wav", 0x15001, 44100, 2, 128000}, input, 1152));
    const std::vector<int16_t> decoded = DecodeWithFfmpeg(path);
    const long decodedFrames = static_cast<long>(decoded.size() / 2);
    EXPECT_GE(decodedFrames, frames) << extra;
    EXPECT_LE(decodedFrames, frames + 1152 + 1105) << extra;
    EXPECT_EQ(decodedFrames % 1152, 0) << extra;
  }
}

TEST(FrameworkSinkTest, G726TakesBitsPerCodeWord) {
  struct G726 {
    int configured;
    int bits;
  };
  uintmax_t headerBytes = 0;
  for (const G726 c : {G726{8, 4}, G726{3, 3}, G726{0, 4}, G726{2, 2}, G726{5, 5}}) {
    TempDir dir;
    const std::string path = dir.File("out.wav");
    const std::vector<int16_t> input = Sine(8000, 1, 8000, 440, 0.5);
    ASSERT_TRUE(EncodeWithSink({path, "wav", 0x1100B, 8000, 1, c.configured}, input, 1152))
        << c.configured;
    EXPECT_EQ(ProbeEntry(path, "stream=bit_rate", "bit_rate"), std::to_string(c.bits * 8000))
        << c.configured;
    // One second takes bits x 1000 bytes; the headers are the same size.
    const auto header = std::filesystem::file_size(path) - static_cast<uintmax_t>(c.bits * 1000);
    if (headerBytes == 0) headerBytes = header;
    EXPECT_EQ(header, headerBytes) << "data bytes for " << c.bits << " bits";
    const std::vector<int16_t> decoded = DecodeWithFfmpeg(path);
    EXPECT_EQ(decoded.size(), input.size()) << c.configured;
    EXPECT_NEAR(CrossingsPerSecond(decoded, 1, 8000), 880, 40) << c.configured;
  }
}

TEST(FrameworkSinkTest, GsmIgnoresTheConfiguredBitRate) {
  for (int32_t codec : {0x15014, 0x15020}) {
    for (int bitRate : {0, 128000}) {
      TempDir dir;
      const std::string path = dir.File(codec == 0x15014 ? "out.aiff" : "out.wav");
      const std::vector<int16_t> input = Sine(8000, 1, 8000, 440, 0.5);
      ASSERT_TRUE(
          EncodeWithSink({path, codec == 0x15014 ? "aiff" : "wav", codec, 8000, 1, bitRate}, input))
          << codec << " at " << bitRate;
      const std::vector<int16_t> decoded = DecodeWithFfmpeg(path);
      EXPECT_NEAR(static_cast<double>(decoded.size()), 8000, 320);
      EXPECT_NEAR(CrossingsPerSecond(decoded, 1, 8000), 880, 60);
    }
  }
}

// A tenth of a second written with `tags`; what ffprobe says of `entries`.
std::string WriteTagged(const SinkSetup& setup, const TagInfo& tags, const std::string& entries) {
  auto sink = MakeFrameworkSink();
  Configure(*sink, setup);
  sink->SetTags(tags);
  EXPECT_TRUE(sink->Open()) << setup.container;
  EXPECT_TRUE(WriteAll(*sink, Sine(44100, 2, 4410, 440, 0.5), 2, 1152));
  sink->Close();
  return Capture("ffprobe -v error -show_entries " + entries + " -of default=noprint_wrappers=1 " +
                 ShellQuote(setup.path));
}

// The probe's tags, keys in lower case (Vorbis comments come back upper case).
std::string ProbedTag(const std::string& probe, const std::string& key) {
  const std::string lowered = AsciiLower(probe);
  const size_t at = lowered.find("tag:" + key + "=");
  if (at == std::string::npos) return {};
  const size_t begin = at + key.size() + 5;
  return probe.substr(begin, probe.find('\n', begin) - begin);
}

TEST(FrameworkSinkTest, NonAsciiTagsReadBackEqual) {
  struct Tagged {
    const char* container;
    const char* extension;
    int32_t codecId;
    const char* yearKey = "date";
  };
  // APEv2 (WavPack) names the year "Year", as its taggers and players do.
  const Tagged cases[] = {{"mp3", "mp3", 0x15001},      {"ipod", "m4a", 0x15002},
                          {"ogg", "ogg", 0x15005},      {"flac", "flac", 0x1500E},
                          {"matroska", "mka", 0x15000}, {"opus", "opus", 0x1503C},
                          {"wv", "wv", 0x1501B, "year"}};
  const std::string title = "Ünïcødé – 日本語 🎵", artist = "Søren Åsmund", album = "Ωμέγα",
                    genre = "Música", year = "2024", comment = "naïve café", composer = "Dvořák",
                    copyright = "© Ærø";
  for (const Tagged& c : cases) {
    TempDir dir;
    const std::string probe = WriteTagged(
        {dir.File(std::string("tagged.") + c.extension), c.container, c.codecId, 48000, 2, 128000},
        {title, artist, album, year, genre, comment, "7", composer, copyright},
        "format_tags:stream_tags");
    EXPECT_EQ(ProbedTag(probe, "title"), title) << c.container << "\n" << probe;
    EXPECT_EQ(ProbedTag(probe, "artist"), artist) << c.container;
    // Stored once: no second field ("author") carries the artist again.
    size_t artistFields = 0;
    for (size_t at = probe.find("=" + artist + "\n"); at != std::string::npos;
         at = probe.find("=" + artist + "\n", at + 1))
      ++artistFields;
    EXPECT_EQ(artistFields, 1u) << c.container << "\n" << probe;
    EXPECT_EQ(ProbedTag(probe, "album"), album) << c.container;
    EXPECT_EQ(ProbedTag(probe, "genre"), genre) << c.container;
    EXPECT_EQ(ProbedTag(probe, "comment"), comment) << c.container;
    EXPECT_EQ(ProbedTag(probe, "composer"), composer) << c.container;
    EXPECT_EQ(ProbedTag(probe, "copyright"), copyright) << c.container;
    EXPECT_EQ(ProbedTag(probe, c.yearKey), year) << c.container;
    EXPECT_EQ(ProbedTag(probe, "track").substr(0, 1), "7") << c.container;
  }
}

TEST(FrameworkSinkTest, TagsThatAreNotUtf8AreLeftOut) {
  TempDir dir;
  TagInfo tags;
  tags.title = "Caf\xe9";
  tags.artist = "Ann";
  const std::string probe =
      WriteTagged({dir.File("tagged.mp3"), "mp3", 0x15001, 44100, 2, 128000}, tags, "format_tags");
  EXPECT_EQ(ProbedTag(probe, "artist"), "Ann") << probe;
  EXPECT_EQ(ProbedTag(probe, "title"), "") << probe;
  EXPECT_EQ(ProbedTag(probe, "track"), "") << probe;
}

uint32_t RiffSize(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFile(path);
  if (bytes.size() < 8) return 0;
  return bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<uint32_t>(bytes[7]) << 24;
}

// Only Close writes the trailer; a sink destroyed without it leaves the file
// as it stood, sizes unpatched.
TEST(FrameworkSinkTest, DestroyedWithoutCloseLeavesFileWithoutTrailer) {
  TempDir dir;
  const std::vector<int16_t> input = Sine(8000, 1, 8000, 440, 0.5);
  for (bool close : {true, false}) {
    const std::string path = dir.File(close ? "closed.wav" : "open.wav");
    {
      auto sink = MakeFrameworkSink();
      Configure(*sink, {path, "wav", 0x10000, 8000, 1});
      ASSERT_TRUE(sink->Open());
      ASSERT_TRUE(WriteAll(*sink, input, 1, 1152));
      if (close) sink->Close();
    }
    ASSERT_TRUE(std::filesystem::exists(path));
    const auto size = static_cast<uint32_t>(std::filesystem::file_size(path));
    if (close)
      EXPECT_EQ(RiffSize(path), size - 8);
    else
      EXPECT_NE(RiffSize(path), size - 8);
  }
}

}  // namespace
}  // namespace quillo::test
