#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backends/files/RawPcmWriter.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::Capture;
using test::ReadFile;
using test::ShellQuote;
using test::TempDir;

std::vector<int16_t> Ramp(int frames, int start, int step) {
  std::vector<int16_t> out(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) out[i] = static_cast<int16_t>(start + i * step);
  return out;
}

// Reads a headerless file back through ffmpeg as 16-bit little-endian PCM.
std::vector<int16_t> DecodeRaw(const std::string& path, int channels) {
  const std::string raw =
      Capture("ffmpeg -v error -f s16le -ar 8000 -ac " + std::to_string(channels) + " -i " +
              ShellQuote(path) + " -f s16le -c:a pcm_s16le -");
  std::vector<int16_t> samples(raw.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(static_cast<uint8_t>(raw[2 * i]) |
                                      static_cast<uint8_t>(raw[2 * i + 1]) << 8);
  return samples;
}

TEST(RawPcmWriter, StereoIsInterleavedAcrossBlocks) {
  TempDir dir;
  const std::string path = dir.File("out.raw");
  // 3000 frames take three blocks: 1152, 1152 and 696 frames.
  const std::vector<int16_t> left = Ramp(3000, -32768, 11);
  const std::vector<int16_t> right = Ramp(3000, 32767, -7);
  RawPcmWriter writer;
  writer.SetPath(path);
  writer.SetChannels(2);
  ASSERT_TRUE(writer.Open());
  ASSERT_TRUE(writer.Write(left.data(), right.data(), 3000));
  ASSERT_TRUE(writer.Write(left.data(), right.data(), 0));
  writer.Close();

  const std::vector<uint8_t> bytes = ReadFile(path);
  ASSERT_EQ(bytes.size(), 12000u);
  // Little-endian, left first: -32768 is 00 80, 32767 is FF 7F.
  EXPECT_EQ(bytes[0], 0x00);
  EXPECT_EQ(bytes[1], 0x80);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0x7F);

  const std::vector<int16_t> decoded = DecodeRaw(path, 2);
  ASSERT_EQ(decoded.size(), 6000u);
  for (size_t i = 0; i < 3000; ++i) {
    ASSERT_EQ(decoded[2 * i], left[i]) << "frame " << i;
    ASSERT_EQ(decoded[2 * i + 1], right[i]) << "frame " << i;
  }
}

TEST(RawPcmWriter, MonoIsWrittenAsIs) {
  TempDir dir;
  const std::string path = dir.File("out.raw");
  test::WriteFile(path, std::vector<uint8_t>(50000, 0xAA));
  const std::vector<int16_t> left = Ramp(3000, -1500, 1);
  RawPcmWriter writer;
  writer.SetPath(path);
  writer.SetChannels(1);
  ASSERT_TRUE(writer.Open());
  ASSERT_TRUE(writer.Write(left.data(), nullptr, 1000));
  ASSERT_TRUE(writer.Write(left.data() + 1000, nullptr, 2000));
  writer.Close();
  // The old, longer file was replaced, not overwritten in place.
  EXPECT_EQ(ReadFile(path).size(), 6000u);
  EXPECT_EQ(DecodeRaw(path, 1), left);
}

TEST(RawPcmWriter, FailuresAreReported) {
  TempDir dir;
  const std::vector<int16_t> samples(16, 1);
  RawPcmWriter writer;
  writer.SetChannels(2);
  EXPECT_FALSE(writer.Write(samples.data(), samples.data(), 16)) << "not open";
  EXPECT_FALSE(writer.Open()) << "no path";
  writer.SetPath(dir.File("missing/out.raw"));
  EXPECT_FALSE(writer.Open());

  writer.SetPath(dir.File("out.raw"));
  ASSERT_TRUE(writer.Open());
  EXPECT_FALSE(writer.Write(samples.data(), nullptr, 16)) << "two channels need the right one";
  writer.Close();
  EXPECT_FALSE(writer.Write(samples.data(), samples.data(), 16)) << "closed";
  EXPECT_FALSE(writer.Open()) << "Close forgets the path";

  // A device that takes no bytes.
  if (std::filesystem::exists("/dev/full")) {
    writer.SetPath("/dev/full");
    ASSERT_TRUE(writer.Open());
    EXPECT_FALSE(writer.Write(samples.data(), samples.data(), 16));
    writer.SetChannels(1);
    EXPECT_FALSE(writer.Write(samples.data(), nullptr, 16));
  }
}

}  // namespace
}  // namespace quillo
