// The lossless rows over sources of four resolutions: each output decodes to
// the source bit for bit where the row can hold its samples, and to the
// source rounded with dither (not truncated) where it cannot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

using test::ShellQuote;

// A file's samples as ffmpeg decodes them to doubles (exact for every
// integer and float sample), interleaved.
std::vector<double> DecodeToDouble(const std::string& path) {
  const std::string raw =
      test::Capture("ffmpeg -v error -i " + ShellQuote(path) + " -f f64le -c:a pcm_f64le -");
  std::vector<double> samples(raw.size() / sizeof(double));
  std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(double));
  return samples;
}

struct Shape {
  const char* name;
  int rate;
  int channels;
  const char* codec;  // ffmpeg's PCM codec of the source WAV
  int bits;
  bool isFloat;
};

struct Row {
  const char* name;
  const char* format;
  const char* codec;  // a codec chosen by hand, or null for automatic settings
  int bits;           // the integer depth the row keeps at most; 0: any source fits
};

// The source shape `shape` fits into `row` without rounding.
bool Holds(const Row& row, const Shape& shape) {
  return row.bits == 0 || (!shape.isFloat && shape.bits <= row.bits);
}

// Converts `source` (of `shape`, decoded as `original`) with `row` into
// `folder` and compares the output with it.
void CheckRow(const Row& row, const Shape& shape, const std::string& source,
              const std::vector<double>& original, const std::string& folder,
              const std::string& config) {
  std::vector<std::string> args = {"-f", row.format, "-d", folder};
  if (row.codec == nullptr)
    args.push_back("--auto");
  else
    args.insert(args.end(), {"--codec", row.codec, "--rate", std::to_string(shape.rate),
                             "--channels", std::to_string(shape.channels)});
  args.push_back(source);
  const test::CliRun run = RunCli("convert", args, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  std::string output;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    output = entry.path().string();
  ASSERT_FALSE(output.empty());

  EXPECT_EQ(test::ProbeEntry(output, "stream=sample_rate", "sample_rate"),
            std::to_string(shape.rate));
  EXPECT_EQ(test::ProbeEntry(output, "stream=channels", "channels"),
            std::to_string(shape.channels));
  const std::vector<double> decoded = DecodeToDouble(output);
  ASSERT_EQ(decoded.size(), original.size());
  if (Holds(row, shape)) {
    size_t differing = 0;
    for (size_t i = 0; i < decoded.size(); ++i) differing += decoded[i] != original[i];
    EXPECT_EQ(differing, 0u);
    return;
  }
  // Rounded to the row's depth with TPDF dither: every error within 1.5
  // steps, no bias, and neither plain rounding nor truncation.
  const double steps = std::ldexp(1.0, row.bits - 1);
  double sum = 0.0, largest = 0.0;
  size_t rounded = 0, truncated = 0;
  for (size_t i = 0; i < decoded.size(); ++i) {
    const double exact = original[i] * steps, got = decoded[i] * steps;
    sum += got - exact;
    largest = std::max(largest, std::fabs(got - exact));
    rounded += got == std::round(exact);
    truncated += got == std::floor(exact);
  }
  const double count = static_cast<double>(decoded.size());
  EXPECT_LE(largest, 1.5);
  EXPECT_LT(std::fabs(sum / count), 0.05);
  EXPECT_LT(static_cast<double>(rounded), 0.9 * count);
  EXPECT_LT(static_cast<double>(truncated), 0.9 * count);
}

TEST(HighResolutionCli, LosslessRowsKeepTheSourceOrDitherIt) {
  const Shape shapes[] = {
      {"s16", 44100, 2, "pcm_s16le", 16, false}, {"s24", 96000, 2, "pcm_s24le", 24, false},
      {"f32", 48000, 2, "pcm_f32le", 32, true},  {"u8", 22050, 1, "pcm_u8", 8, false},
      {"s32", 44100, 2, "pcm_s32le", 32, false},
  };
  const Row rows[] = {
      {"flac", "3200", nullptr, 24},     {"alac", "6200", nullptr, 24},
      {"wav", "2000", nullptr, 0},       {"wav-s16", "2000", "0x10000", 16},
      {"wav-f32", "2000", "0x10015", 0}, {"aiff", "5100", nullptr, 0},
      {"au", "5000", nullptr, 0},        {"wv", "3300", nullptr, 0},
  };
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  for (const Shape& shape : shapes) {
    // A tone with low-level noise under it, so that every bit of the
    // source's samples carries something.
    const std::string tone = "0.5*sin(2*PI*440*t)+0.01*(random(0)-0.5)";
    const std::string expression =
        shape.channels == 1 ? tone : tone + "|-0.3*sin(2*PI*660*t)+0.01*(random(1)-0.5)";
    const std::string source = dir.File(std::string(shape.name) + ".wav");
    MakeAudio(source, "aevalsrc=" + expression + ":s=" + std::to_string(shape.rate) + ":d=1",
              std::string("-c:a ") + shape.codec);
    const std::vector<double> original = DecodeToDouble(source);
    ASSERT_EQ(original.size(), static_cast<size_t>(shape.rate * shape.channels));
    for (const Row& row : rows) {
      // A 32-bit float sample holds 24 bits of an integer: neither the source
      // nor a dithered copy of it.
      if (std::string(shape.name) == "s32" && std::string(row.name) == "wav-f32") continue;
      SCOPED_TRACE(std::string(shape.name) + " into " + row.name);
      CheckRow(row, shape, source, original, dir.File(std::string(shape.name) + "-" + row.name),
               config);
    }
  }
}

}  // namespace
}  // namespace quillo
