// Outputs that say exactly where their audio lies (the MP4 family's edit
// list and iTunSMPB) and outputs checked by decoding them back (--verify).
#include <gtest/gtest.h>
#include <taglib/mp4file.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// 2 s and an odd 123 frames: no encoder frame size divides it.
constexpr int kRate = 44100;
constexpr int64_t kFrames = 2 * kRate + 123;
constexpr int kSilentFrames = 11025;  // the tone starts here

std::string ToneWithOnset(const test::TempDir& dir) {
  const std::string path = dir.File("tone.wav");
  MakeAudio(
      path,
      "aevalsrc='if(gte(n," + std::to_string(kSilentFrames) +
          "),0.5*sin(2*PI*441*t),0)|0.25*sin(2*PI*441*t)':s=" + std::to_string(kRate),
      "-t " + std::to_string(static_cast<double>(kFrames) / kRate + 1e-7) + " -c:a pcm_s16le");
  return path;
}

uint32_t Be32(const std::vector<uint8_t>& d, size_t at) {
  return (uint32_t{d[at]} << 24) | (uint32_t{d[at + 1]} << 16) | (uint32_t{d[at + 2]} << 8) |
         d[at + 3];
}

// The first edit of the first track and the movie's time scale, read from
// the atoms themselves.
struct EditList {
  uint32_t movieTimescale = 0;
  int64_t duration = -1;  // in the movie's time scale
  int64_t mediaTime = -1;
};

void ReadAtoms(const std::vector<uint8_t>& d, size_t at, size_t end, EditList& edits) {
  while (at + 8 <= end) {
    const size_t size = Be32(d, at);
    const std::string type(d.begin() + static_cast<long>(at) + 4,
                           d.begin() + static_cast<long>(at) + 8);
    if (size < 8 || at + size > end) return;
    const bool v1 = d[at + 8] == 1;
    if (type == "moov" || type == "trak" || type == "edts") ReadAtoms(d, at + 8, at + size, edits);
    if (type == "mvhd") edits.movieTimescale = Be32(d, at + (v1 ? 28 : 20));
    if (type == "elst" && edits.duration < 0) {
      const size_t entry = at + 16;
      edits.duration = v1 ? (int64_t{Be32(d, entry)} << 32 | Be32(d, entry + 4)) : Be32(d, entry);
      edits.mediaTime = static_cast<int32_t>(v1 ? Be32(d, entry + 12) : Be32(d, entry + 4));
    }
    at += size;
  }
}

struct Smpb {
  unsigned priming = 0, padding = 0;
  unsigned long long frames = 0;
};

bool ReadSmpb(const std::string& path, Smpb& smpb) {
  TagLib::MP4::File file(path.c_str());
  if (!file.isValid() || file.tag() == nullptr) return false;
  const TagLib::MP4::Item item = file.tag()->item("----:com.apple.iTunes:iTunSMPB");
  if (!item.isValid() || item.toStringList().isEmpty()) return false;
  const std::string text = item.toStringList().front().to8Bit();
  return std::sscanf(text.c_str(), " %*x %x %x %llx", &smpb.priming, &smpb.padding, &smpb.frames) ==
         3;
}

// The first frame of a channel that reaches a quarter of full scale.
int64_t Onset(const test::DecodedAudio& audio) {
  for (size_t i = 0; i < audio.samples.size(); i += static_cast<size_t>(audio.channels))
    if (std::abs(audio.samples[i]) > 8192) return static_cast<int64_t>(i) / audio.channels;
  return -1;
}

// Every AAC row of the MP4 family states the source's exact length twice:
// an edit list in the audio's own time scale that starts after the
// encoder's priming, and iTunSMPB with priming, padding and frame count. A
// decoder that drops the priming finds the tone where the source has it,
// and the frames it decodes are exactly the count and the padding.
TEST(ExactOutputCli, Mp4FamilyStatesTheExactLength) {
  test::TempDir dir;
  const std::string source = ToneWithOnset(dir);
  ASSERT_EQ(test::DecodeAudio(source).samples.size(), 2 * static_cast<size_t>(kFrames));
  const struct {
    const char* id;
    const char* extension;
    std::vector<std::string> options;
  } rows[] = {{"6100", "m4a", {}},
              {"6500", "m4a", {}},
              {"6700", "m4b", {}},
              {"6800", "m4r", {}},
              {"6600", "mp4", {}},
              {"8100", "mov", {}},
              {"8350", "3gp", {"--codec", "aac", "--rate", "44100", "--channels", "2"}},
              {"8300", "3g2", {"--codec", "aac", "--rate", "44100", "--channels", "2"}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    const std::string out = dir.File(row.id);
    std::vector<std::string> args = {"-f", row.id, "-d", out};
    args.insert(args.end(), row.options.begin(), row.options.end());
    args.push_back(source);
    const test::CliRun run = RunCli("convert", args, dir.File("quillo.conf"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string output = (fs::path(out) / (std::string("tone.") + row.extension)).string();

    Smpb smpb;
    ASSERT_TRUE(ReadSmpb(output, smpb));
    EXPECT_EQ(smpb.frames, static_cast<unsigned long long>(kFrames));
    EXPECT_EQ(smpb.priming, 1024u);
    EXPECT_EQ((smpb.priming + smpb.frames + smpb.padding) % 1024, 0u);

    EditList edits;
    const std::vector<uint8_t> bytes = test::ReadFile(output);
    ReadAtoms(bytes, 0, bytes.size(), edits);
    EXPECT_EQ(edits.movieTimescale, static_cast<uint32_t>(kRate));
    EXPECT_EQ(edits.duration, kFrames);
    EXPECT_EQ(edits.mediaTime, static_cast<int64_t>(smpb.priming));

    const test::DecodedAudio audio = test::DecodeAudio(output);
    ASSERT_EQ(audio.rate, kRate);
    ASSERT_EQ(audio.channels, 2);
    EXPECT_EQ(static_cast<int64_t>(audio.samples.size() / 2),
              static_cast<int64_t>(smpb.frames + smpb.padding));
    EXPECT_NEAR(static_cast<double>(Onset(audio)), kSilentFrames, 8.0);
  }
}

std::string Field(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": ");
  if (at == std::string::npos) return {};
  const size_t start = at + key.size() + 4;
  return json.substr(start, json.find_first_of(",}", start) - start);
}

bool HasPartFile(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().find(".quillo-part-") != std::string::npos) return true;
  return false;
}

// --verify: an output whose bytes were damaged between the encoder and the
// file fails with the reason, the older target stays byte for byte and no
// temporary file is left; undamaged, the same rows pass and JSON says so
// (and only with --verify). Lossless rows give back every sample.
TEST(ExactOutputCli, VerifyFailsADamagedOutputAndKeepsTheOlderTarget) {
  test::TempDir dir;
  const std::string source = ToneWithOnset(dir);
  const test::DecodedAudio original = test::DecodeAudio(source);
  const struct {
    const char* id;
    const char* extension;
    bool lossless;
  } rows[] = {{"2000", "wav", true},
              {"3200", "flac", true},
              {"6200", "m4a", true},
              {"1000", "mp3", false},
              {"6500", "m4a", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    const std::string out = dir.File(row.id);
    fs::create_directories(out);
    const std::string target = (fs::path(out) / (std::string("tone.") + row.extension)).string();
    const std::vector<uint8_t> older = {'o', 'l', 'd'};
    test::WriteFile(target, older);
    const std::vector<std::string> args = {"-f",        row.id,     "-d",     out,   "--if-exists",
                                           "overwrite", "--verify", "--json", source};
    if (row.lossless) {
      const test::ScopedEnv corrupt("QUILLO_TEST_CORRUPT_OUTPUT", "1");
      const test::CliRun run = RunCli("convert", args, dir.File("quillo.conf"));
      EXPECT_NE(run.status, 0);
      EXPECT_NE(run.out.find("Verification failed"), std::string::npos) << run.out;
      EXPECT_EQ(Field(run.out, "verified"), "false");
      EXPECT_EQ(test::ReadFile(target), older);
      EXPECT_FALSE(HasPartFile(out));
    }
    for (const bool verify : {true, false}) {
      std::vector<std::string> passing = args;
      if (!verify) passing.erase(passing.begin() + 6);
      const test::CliRun run = RunCli("convert", passing, dir.File("quillo.conf"));
      ASSERT_EQ(run.status, 0) << run.out << run.err;
      EXPECT_EQ(Field(run.out, "verified"), verify ? "true" : "false") << run.out;
    }
    const test::DecodedAudio audio = test::DecodeAudio(target);
    EXPECT_EQ(audio.rate, original.rate);
    EXPECT_EQ(audio.channels, original.channels);
    if (row.lossless)
      EXPECT_EQ(audio.samples, original.samples);
    else
      EXPECT_NEAR(audio.Seconds(), original.Seconds(), 0.05);
  }

  // A join is checked as one output, and each file that went in says so.
  const std::string second = dir.File("second.wav");
  fs::copy_file(source, second);
  const std::string joined = dir.File("joined.flac");
  const std::vector<uint8_t> older = {'o', 'l', 'd'};
  test::WriteFile(joined, older);
  const std::vector<std::string> join = {"-o",       joined,   "--if-exists", "overwrite",
                                         "--verify", "--json", source,        second};
  {
    const test::ScopedEnv corrupt("QUILLO_TEST_CORRUPT_OUTPUT", "1");
    const test::CliRun run = RunCli("join", join, dir.File("quillo.conf"));
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("Verification failed"), std::string::npos) << run.out;
    EXPECT_EQ(test::ReadFile(joined), older);
    EXPECT_FALSE(HasPartFile(dir.path().string()));
  }
  const test::CliRun run = RunCli("join", join, dir.File("quillo.conf"));
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  ASSERT_EQ(Lines(run.out).size(), 2u) << run.out;
  for (const std::string& line : Lines(run.out)) EXPECT_EQ(Field(line, "verified"), "true");
  EXPECT_EQ(test::DecodeAudio(joined).samples.size(), 2 * original.samples.size());
}

}  // namespace
}  // namespace quillo
