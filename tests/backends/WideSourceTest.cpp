// Sources of more than 16 bits, opened as a conversion opens them (the
// installed back-end chain of each kind) and as its framework retry does:
// every sample read wide equals the value written, folds included, and the
// lengths, progress and damage reports hold on the wide path.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <vector>

#include "backends/InstalledBackends.h"
#include "engine/SourceFactory.h"
#include "engine/media/SourceKind.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

constexpr int kRate = 96000;
constexpr int kFrames = 240007;  // 2.5 s, ending in a partial block

// How the raw samples are stored before a tool turns them into a file.
enum class Raw { S16, S24, S32, F32, F64 };

struct RawShape {
  const char* ffmpegFormat;
  const char* soxEncoding;
  int bytes;
};

// Each Raw, in its order.
constexpr RawShape kShapes[] = {{"s16le", "-e signed -b 16", 2},
                                {"s24le", "-e signed -b 24", 3},
                                {"s32le", "-e signed -b 32", 4},
                                {"f32le", "-e float -b 32", 4},
                                {"f64le", "-e float -b 64", 8}};
const RawShape& ShapeOf(Raw raw) { return kShapes[static_cast<size_t>(raw)]; }

// Sample `i` of channel `c` as the file holds it, at full scale 1.0. The
// integers walk the whole range in steps that set every low bit; the floats
// reach past full scale (1.5) and, as doubles, below a float's precision.
double SampleValue(Raw raw, int i, int c) {
  const uint32_t walk = static_cast<uint32_t>(i) * 2654435761u + static_cast<uint32_t>(c) * 40503u;
  const auto full = static_cast<int32_t>(walk);
  switch (raw) {
    case Raw::S16:
      return (full >> 16) / 32768.0;
    case Raw::S24:
      return (full >> 8) / 8388608.0;
    case Raw::S32:
      return full / 2147483648.0;
    case Raw::F32:
      return static_cast<float>(1.5 * full / 2147483648.0);
    case Raw::F64:
      return 1.5 * full / 2147483648.0 + i * 0x1p-45;
  }
  return 0.0;
}

// The raw little-endian bytes of every sample.
std::vector<uint8_t> RawBytes(Raw raw, int channels) {
  std::vector<uint8_t> out;
  const int bytes = ShapeOf(raw).bytes;
  for (int i = 0; i < kFrames; ++i) {
    for (int c = 0; c < channels; ++c) {
      const double value = SampleValue(raw, i, c);
      uint64_t word = 0;
      if (raw == Raw::F32)
        word = std::bit_cast<uint32_t>(static_cast<float>(value));
      else if (raw == Raw::F64)
        word = std::bit_cast<uint64_t>(value);
      else
        word = static_cast<uint64_t>(std::llround(std::ldexp(value, 8 * bytes - 1)));
      test::PutInt(out, word, bytes, false);
    }
  }
  return out;
}

// What a source delivers for one frame of the file: two channels as they
// are, one as it is, six folded as a WAV file's 5.1 folds (the middle pair at
// 0.707 into both sides, summed in the fold's order).
std::vector<double> Expected(Raw raw, int channels) {
  std::vector<double> out;
  for (int i = 0; i < kFrames; ++i) {
    double s[6] = {};
    for (int c = 0; c < channels; ++c) s[c] = SampleValue(raw, i, c);
    if (channels == 6) {
      const double middle = 0.707 * (s[2] + s[3]);
      out.push_back(s[0] + s[4] + middle);
      out.push_back(s[1] + s[5] + middle);
      continue;
    }
    for (int c = 0; c < channels; ++c) out.push_back(s[c]);
  }
  return out;
}

struct Delivered {
  std::vector<double> samples;  // interleaved, one or two channels
  int largestBlock = 0;
};

// Everything a source delivers, read wide or (for a 16-bit source) through
// Read and scaled to full scale 1.0.
Delivered ReadAll(MediaSource& source) {
  Delivered out;
  const bool stereo = source.GetChannels() == 2;
  const bool wide = source.GetSampleFormat().IsWide();
  std::vector<double> left(kMaxBlockFrames);
  std::vector<double> right(kMaxBlockFrames);
  std::vector<int16_t> left16(kMaxBlockFrames);
  std::vector<int16_t> right16(kMaxBlockFrames);
  for (int guard = 0; guard < 10000; ++guard) {
    const int n = wide ? source.ReadWide(left.data(), stereo ? right.data() : nullptr)
                       : source.Read(left16.data(), stereo ? right16.data() : nullptr);
    if (n <= 0) break;
    out.largestBlock = std::max(out.largestBlock, n);
    for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
      out.samples.push_back(wide ? left[i] : left16[i] / 32768.0);
      if (stereo) out.samples.push_back(wide ? right[i] : right16[i] / 32768.0);
    }
  }
  return out;
}

struct Case {
  const char* name;  // the file's name gives its kind
  Raw raw;
  int channels;
  const char* arguments;  // ffmpeg's output options; with `sox`, sox's output type
  SampleFormat format;    // what the source reports
  bool sox = false;
  double keep = 1.0;  // the share of the file kept: below 1 it is cut short
  // sndfile-convert's options to recode the file made first (as WAV) with;
  // the framework has no decoder for those codings.
  const char* recode = nullptr;
};

TEST(WideSource, DeliversEveryBitThroughEachChainAndTheFrameworkRetry) {
  const Case cases[] = {
      {"s16.wav", Raw::S16, 2, "-c:a pcm_s16le", {16, false}},
      {"s24.wav", Raw::S24, 2, "-c:a pcm_s24le", {24, false}},  // extensible
      {"plain24.wav", Raw::S24, 2, "-t wavpcm", {24, false}, true},
      {"s32.wav", Raw::S32, 2, "-c:a pcm_s32le", {32, false}},
      {"f32.wav", Raw::F32, 2, "-c:a pcm_f32le", {32, true}},
      {"f64.wav", Raw::F64, 1, "-c:a pcm_f64le", {64, true}},
      {"s24-51.wav", Raw::S24, 6, "-c:a pcm_s24le", {24, false}},
      {"cut24.wav", Raw::S24, 2, "-c:a pcm_s24le", {24, false}, false, 0.5},
      {"cut24.flac", Raw::S24, 2, "-c:a flac", {24, false}, false, 0.5},
      {"s24.flac", Raw::S24, 2, "-c:a flac", {24, false}},
      {"s24-51.flac", Raw::S24, 6, "-c:a flac", {24, false}},
      {"s24.aiff", Raw::S24, 2, "-c:a pcm_s24be", {24, false}},
      {"s32.aiff", Raw::S32, 1, "-c:a pcm_s32be", {32, false}},
      {"f32.aifc", Raw::F32, 2, "-c:a pcm_f32be", {32, true}},
      {"dwvw24.aiff", Raw::S24, 1, "-c:a pcm_s24le", {24, false}, false, 1.0, "-dwvw24"},
      {"s24.au", Raw::S24, 1, "-c:a pcm_s24be", {24, false}},
      {"s32-51.au", Raw::S32, 6, "-c:a pcm_s32be", {32, false}},
      {"f64.au", Raw::F64, 2, "-c:a pcm_f64be", {64, true}},
      {"s32.wv", Raw::S32, 2, "-c:a wavpack", {32, false}},
      {"f32.wv", Raw::F32, 2, "-c:a wavpack", {32, true}},
      {"s24.m4a", Raw::S24, 2, "-c:a alac", {24, false}},
      {"s24.tta", Raw::S24, 2, "-c:a tta", {24, false}},
      {"s24.mkv", Raw::S24, 2, "-c:a pcm_s24le", {24, false}},
      {"s24.mov", Raw::S24, 2, "-c:a pcm_s24be", {24, false}},
  };
  const test::TempDir dir;
  const InstalledBackends backends;
  SourceFactory factory(backends.table(), nullptr);
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    const std::string raw = dir.File(std::string(row.name) + ".raw");
    test::WriteFile(raw, RawBytes(row.raw, row.channels));
    const std::string path = dir.File(row.name);
    const std::string made = row.recode != nullptr ? path + ".wav" : path;
    const RawShape& shape = ShapeOf(row.raw);
    const std::string layout =
        " -c " + std::to_string(row.channels) + " -r " + std::to_string(kRate);
    if (row.sox) {
      ASSERT_EQ(
          test::Run("sox -t raw " + std::string(shape.soxEncoding) + layout + " " +
                    test::ShellQuote(raw) + " " + row.arguments + " " + test::ShellQuote(made)),
          0);
    } else {
      ASSERT_TRUE(test::MakeMedia("-f " + std::string(shape.ffmpegFormat) + " -ac " +
                                      std::to_string(row.channels) + " -ar " +
                                      std::to_string(kRate) + " -i " + test::ShellQuote(raw) + " " +
                                      row.arguments,
                                  made));
    }
    if (row.recode != nullptr) {
      ASSERT_EQ(test::Run("sndfile-convert " + std::string(row.recode) + " " +
                          test::ShellQuote(made) + " " + test::ShellQuote(path)),
                0);
    }
    if (row.keep < 1.0)
      std::filesystem::resize_file(
          path,
          static_cast<uintmax_t>(static_cast<double>(std::filesystem::file_size(path)) * row.keep));
    const std::vector<double> written = Expected(row.raw, row.channels);

    for (const bool frameworkOnly : {false, true}) {
      if (frameworkOnly && row.recode != nullptr) continue;
      SCOPED_TRACE(frameworkOnly ? "framework retry" : "first choice");
      OpenedSource opened =
          factory.Open(path, SourceKindFromPath(path), 44100, true, frameworkOnly);
      ASSERT_NE(opened.source, nullptr);
      MediaSource& source = *opened.source;
      EXPECT_EQ(source.GetSampleFormat(), row.format);
      EXPECT_EQ(source.GetSampleRate(), kRate);
      EXPECT_EQ(source.GetSourceChannels(), row.channels);
      EXPECT_EQ(source.GetChannels(), row.channels == 1 ? 1 : 2);
      if (row.keep == 1.0) {
        EXPECT_EQ(source.GetDurationSeconds(), 2);
      }

      const Delivered delivered = ReadAll(source);
      EXPECT_LE(delivered.largestBlock, kMaxBlockFrames);
      const size_t width = row.channels == 1 ? 1 : 2;
      std::vector<double> expected = written;
      if (row.keep < 1.0) {
        // As much as the file still holds, and the damage reported.
        ASSERT_GT(delivered.samples.size(), expected.size() / 4);
        ASSERT_LT(delivered.samples.size(), expected.size() * 3 / 4);
        expected.resize(delivered.samples.size());
        // The framework finds no stated length in a WAV file to fall short of.
        if (!frameworkOnly || SourceKindFromPath(path) != SourceKind::Wave) {
          EXPECT_TRUE(source.EndedEarly().has_value());
        }
      } else {
        ASSERT_EQ(delivered.samples.size(), expected.size());
        EXPECT_FALSE(source.EndedEarly().has_value());
      }
      size_t mismatches = 0;
      for (size_t i = 0; i < expected.size(); ++i) {
        if (delivered.samples[i] == expected[i]) continue;
        if (mismatches++ == 0)
          ADD_FAILURE() << "frame " << i / width << " channel " << i % width << ": "
                        << delivered.samples[i] << " instead of " << expected[i];
      }
      EXPECT_EQ(mismatches, 0u);
      EXPECT_GT(source.GetProgressPosition(), 0u);
      EXPECT_LE(source.GetProgressPosition(), source.GetProgressTotal());
    }
  }
}

}  // namespace
}  // namespace quillo
