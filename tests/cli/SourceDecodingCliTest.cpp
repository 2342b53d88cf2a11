// What the sources make of awkward files, converted end to end: surround
// folded by speaker position whichever source reads it, chained Ogg files
// whose links change rate, files that name other files or hold no sound, and
// sources damaged before their end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

struct Speaker {
  const char* name;  // as the ffmpeg program names it in a layout
  int hz;
  bool left, right;
};

constexpr Speaker kSpeakers[] = {
    {"FL", 400, true, false},  {"FR", 600, false, true},  {"FC", 800, true, true},
    {"LFE", 150, true, true},  {"BC", 1000, true, true},  {"SL", 1200, true, false},
    {"SR", 1400, false, true}, {"BL", 1200, true, false}, {"BR", 1400, false, true},
};

const Speaker& Named(const std::string& name) {
  for (const Speaker& speaker : kSpeakers)
    if (name == speaker.name) return speaker;
  ADD_FAILURE() << name;
  return kSpeakers[0];
}

// The amplitude (of full scale) of the tone at `hz` in one channel of
// interleaved samples, over frames [first, last).
double ToneAmplitude(const std::vector<int16_t>& samples, int channels, int channel, int rate,
                     int hz, size_t first = 0, size_t last = SIZE_MAX) {
  last = std::min(last, samples.size() / static_cast<size_t>(channels));
  double re = 0, im = 0;
  for (size_t n = first; n < last; ++n) {
    const double phase = 2 * std::numbers::pi * hz * static_cast<double>(n) / rate;
    const int16_t sample =
        samples[n * static_cast<size_t>(channels) + static_cast<size_t>(channel)];
    re += sample * std::cos(phase);
    im += sample * std::sin(phase);
  }
  return 2 * std::hypot(re, im) / static_cast<double>(last - first) / 32768;
}

// The value of `key` in a JSON line when it is a string, "null" otherwise.
std::string JsonText(const std::string& line, const std::string& key) {
  const std::string open = "\"" + key + "\": \"";
  const size_t start = line.find(open);
  if (start == std::string::npos) return "null";
  const size_t from = start + open.size();
  return line.substr(from, line.find('"', from) - from);
}

TEST(SurroundFoldCli, SixPointOneFoldsBySpeakerForEverySource) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  constexpr double kAmplitude = 0.1;
  // The layout with its speakers in the files' order, the made file's
  // extension and the ffmpeg options that make it.
  struct Case {
    const char* layout;
    std::vector<std::string> speakers;
    const char* extension;
    const char* options;
  };
  const std::vector<std::string> sixOne = {"FL", "FR", "FC", "LFE", "BC", "SL", "SR"};
  const Case cases[] = {
      {"6.1", sixOne, "wav", ""},
      {"6.1", sixOne, "flac", ""},
      {"6.1", sixOne, "ogg", "-c:a libvorbis"},
      {"6.1", sixOne, "mka", "-c:a flac"},
      {"6.1", sixOne, "aiff", ""},
      {"6.1", sixOne, "au", ""},
      {"6.1", sixOne, "wv", ""},
      // Back surrounds and a back centre: the mask gives another WAV order.
      {"6.1(back)", {"FL", "FR", "FC", "LFE", "BL", "BR", "BC"}, "wav", ""},
      {"6.1(back)", {"FL", "FR", "FC", "LFE", "BL", "BR", "BC"}, "wv", ""},
  };
  int index = 0;
  for (const Case& c : cases) {
    const std::string name = "surround" + std::to_string(index++);
    SCOPED_TRACE(std::string(c.layout) + " " + c.extension);
    std::string tones;
    for (const std::string& speaker : c.speakers)
      tones += (tones.empty() ? "" : "|") + std::to_string(kAmplitude) + "*sin(2*PI*" +
               std::to_string(Named(speaker).hz) + "*t)";
    const std::string source = dir.File(name + "." + c.extension);
    test::MakeAudio(source, "aevalsrc=" + tones + ":s=44100:d=1:c=" + std::string(c.layout),
                    c.options);
    ASSERT_TRUE(fs::exists(source));

    const std::string out = dir.File("out");
    const test::CliRun run = test::RunCli("convert", {"-f", "wav", "-d", out, source}, config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string output = out + "/" + name + ".wav";
    ASSERT_EQ(test::FfprobeField(test::ProbeWithFfprobe(output), "channels"), "2");
    const std::vector<int16_t> stereo = test::DecodeWithFfmpeg(output);
    ASSERT_GT(stereo.size(), 2u * 40000);

    for (const std::string& speaker : c.speakers) {
      const Speaker& s = Named(speaker);
      // A middle speaker reaches each side at 0.707; lossy coding leaves a
      // trace on a side a speaker does not reach.
      const double expected = (s.left && s.right ? 0.707 : 1.0) * kAmplitude;
      const bool reaches[] = {s.left, s.right};
      for (int side : {0, 1}) {
        const double amplitude = ToneAmplitude(stereo, 2, side, 44100, s.hz);
        if (reaches[side])
          EXPECT_NEAR(amplitude, expected, 0.15 * expected) << speaker << " side " << side;
        else
          EXPECT_LT(amplitude, 0.1 * kAmplitude) << speaker << " side " << side;
      }
    }
  }
}

// Two Ogg Vorbis files one after the other make a chained file: 1 s of 440 Hz
// at 44100 Hz, then 1.5 s of 1000 Hz at another rate or the same. The whole
// of it converts, a later link resampled to the first one's rate.
TEST(ChainedOggCli, EveryLinkConvertsAtTheFirstLinksRate) {
  test::TempDir dir;
  const std::string first = dir.File("first.ogg");
  test::MakeAudio(first, "sine=frequency=440:sample_rate=44100:duration=1", "-ac 2 -c:a libvorbis");
  const double firstLevel = ToneAmplitude(test::DecodeWithFfmpeg(first), 2, 0, 44100, 440);
  ASSERT_GT(firstLevel, 0.05);
  for (const int rate : {22050, 44100, 48000}) {
    SCOPED_TRACE(rate);
    const std::string second = dir.File("second.ogg");
    test::MakeAudio(second,
                    "sine=frequency=1000:sample_rate=" + std::to_string(rate) + ":duration=1.5",
                    "-ac 2 -c:a libvorbis");
    const std::string chained = dir.File("chained.ogg");
    std::vector<uint8_t> bytes = test::ReadFile(first);
    const std::vector<uint8_t> more = test::ReadFile(second);
    ASSERT_FALSE(bytes.empty() || more.empty());
    bytes.insert(bytes.end(), more.begin(), more.end());
    test::WriteFile(chained, bytes);

    const std::string out = dir.File("out");
    const test::CliRun run =
        test::RunCli("convert", {"-f", "wav", "-d", out, "--if-exists", "overwrite", chained},
                     dir.File("quillo.conf"));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string output = out + "/chained.wav";
    const std::string probe = test::ProbeWithFfprobe(output);
    ASSERT_EQ(test::FfprobeField(probe, "sample_rate"), "44100");
    ASSERT_EQ(test::FfprobeField(probe, "channels"), "2");
    const std::vector<int16_t> pcm = test::DecodeWithFfmpeg(output);
    EXPECT_NEAR(static_cast<double>(pcm.size() / 2), 2.5 * 44100, 0.005 * 44100);

    // Each part holds its own tone at the level of its link, and at its own
    // pitch: none at the pitch a wrong rate would give.
    const double secondLevel = ToneAmplitude(test::DecodeWithFfmpeg(second), 2, 1, rate, 1000);
    EXPECT_NEAR(ToneAmplitude(pcm, 2, 0, 44100, 440, 4410, 39690), firstLevel, 0.1 * firstLevel);
    EXPECT_NEAR(ToneAmplitude(pcm, 2, 1, 44100, 1000, 48510, 105840), secondLevel,
                0.1 * secondLevel);
    const int wrong = 1000 * 44100 / rate;
    if (wrong != 1000) {
      EXPECT_LT(ToneAmplitude(pcm, 2, 1, 44100, wrong, 48510, 105840), 0.1 * secondLevel);
    }
  }
}

// Files that name other files (a concatenation list or a playlist, whatever
// their name) are not followed: the audio they name never reaches an output,
// and one that names a FIFO does not block. Pictures are not audio: neither
// probe nor convert takes them for a silent mono file.
TEST(HostileInputsCli, ListsArePassedOverAndPicturesAreNotAudio) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  std::filesystem::create_directories(dir.File("sub"));
  MakeAudio(dir.File("sub/private.wav"), "sine=frequency=440:sample_rate=8000:duration=1");
  ASSERT_EQ(mkfifo(dir.File("sub/pipe.wav").c_str(), 0600), 0);
  std::ofstream(dir.File("album.m4a")) << "ffconcat version 1.0\nfile sub/private.wav\n";
  std::ofstream(dir.File("pipe.m4a")) << "ffconcat version 1.0\nfile sub/pipe.wav\n";
  std::ofstream(dir.File("list.m3u8"))
      << "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nsub/private.wav\n#EXT-X-ENDLIST\n";
  MakeAudio(dir.File("cover.png"), "testsrc=size=64x64", "-frames:v 1");
  MakeAudio(dir.File("folder.jpg"), "testsrc=size=64x64", "-frames:v 1");

  for (const auto& [name, state] :
       {std::pair{"album.m4a", "failed"}, std::pair{"pipe.m4a", "failed"},
        std::pair{"list.m3u8", "failed"}, std::pair{"cover.png", "no-audio"},
        std::pair{"folder.jpg", "no-audio"}}) {
    SCOPED_TRACE(name);
    const std::string path = dir.File(name);
    std::ostringstream out, err;
    EXPECT_EQ(RunProbe({"--json", path}, test::Backends(), out, err), 1);
    EXPECT_EQ(JsonText(out.str(), "state"), state) << out.str();

    const std::string folder = dir.File("out");
    const test::CliRun run = RunCli("convert", {"--json", "-f", "wav", "-d", folder, path}, config);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_EQ(JsonText(run.out, "state"), state) << run.out;
    EXPECT_FALSE(std::filesystem::exists(folder) && !std::filesystem::is_empty(folder));
  }
}

// A WAV file whose LIST entries claim more bytes than the list holds (found
// by fuzzing) makes the audio library's header parser loop for ever: it is
// left to the framework, and the conversion ends.
TEST(HostileInputsCli, AnOverlongListEntryDoesNotHangTheConversion) {
  test::TempDir dir;
  const std::string path = dir.File("list.wav");
  const std::string bytes(
      "\x52\x49\x46\x46\xde\x07\x00\x00\x57\x41\x56\x45\x66\x6d\x74\x20\x28\x00\x00\x00\xfe\xff\x05"
      "\x00"
      "\x40\x1f\x00\x00\x00\x77\x01\x00\x0c\x00\x1a\x00\x16\x80\x10\x00\x0e\x00\x00\x00\x01\x00\x00"
      "\x00"
      "\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71\x4c\x49\x53\x54\x1a\x00\x00\x00\x49\xff\xff"
      "\xff"
      "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x4e\xc1\x4f\x49"
      "\x53"
      "\x46\x54\x0e\x00\x00\x00\x4c\x61\x76\x66\x10\x00\x80\x00\x00\xaa\x00\x2c\x9b\x71\x4c\x49\x53"
      "\x54"
      "\x1a\x00\x00\x00\x49\xff\xff\xff\xff\xff\xff\xff\xfb\xff\xff\xff\xf7\xff\xff\xff\xff\xff\xff"
      "\xff"
      "\xff\xff\xff\x4e\x46\x4f\x49\x53\x46\x54\x0e\x00\x00\x00\x4c\x61\x76\x66\x35\x39\x2e\x32\x37"
      "\x2e"
      "\x31\x30\x30\x00\x64\x61\x74\x61\x80\x07\x00\x00\x00\x00\x09\x6b\x05\x00\x00\x52\x39\x2e\x32"
      "\x37"
      "\x2e\x31\x30\x30\x74\x00\x00\x09\x6b\x00\x00\x01",
      204);
  std::ofstream(path, std::ios::binary) << bytes;
  const test::CliRun run =
      RunCli("convert", {"-f", "wav", "-d", dir.File("out"), path}, dir.File("quillo.conf"));
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_GT(test::DecodeAudio(dir.File("out/list.wav")).samples.size(), 0u);
}

// A source damaged before its end (cut short, or garbage where its audio
// should be) converts what decodes and says how much of the length its header
// states that was; the run fails. Intact files, an MP3 whose length is only
// estimated among them, still say ok. Each file is 10 s of a tone, damaged
// after 4 s; FLAC in Matroska goes through the framework, AIFF and WMA through
// their own readers, the rest through the audio library.
TEST(DamagedSourceCli, WhatDecodesIsKeptAndTheStatusSaysHowMuch) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  const std::string tone = "sine=frequency=440:sample_rate=22050:duration=10";
  enum class Damage { None, Cut, Garbage };
  struct Case {
    const char* name;
    const char* encoding;
    Damage damage;
  };
  const Case cases[] = {
      {"intact.flac", "", Damage::None},
      {"cut.flac", "", Damage::Cut},
      {"garbage.flac", "", Damage::Garbage},
      {"cut.mka", "-c:a flac", Damage::Cut},
      {"cut.wav", "", Damage::Cut},
      {"cut.wv", "-c:a wavpack", Damage::Cut},
      {"cut.aiff", "", Damage::Cut},
      {"garbage.wma", "-c:a wmav2", Damage::Garbage},
      {"cut.mp3", "-c:a libmp3lame", Damage::Cut},
      {"garbage.mp3", "-c:a libmp3lame", Damage::Garbage},
      {"estimated.mp3", "-c:a libmp3lame -q:a 6 -write_xing 0", Damage::None},
  };
  std::mt19937 random(7);
  const std::regex partial(
      R"(Conversion Failure \((\d+\.\d) of 10\.0 s converted: the rest of the source is damaged\))");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File(c.name);
    MakeAudio(path, tone, c.encoding);
    std::vector<uint8_t> bytes = test::ReadFile(path);
    ASSERT_GT(bytes.size(), 1000u);
    const size_t kept = bytes.size() * 4 / 10;
    if (c.damage == Damage::Cut) bytes.resize(kept);
    if (c.damage == Damage::Garbage)
      for (size_t i = kept; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(random());
    test::WriteFile(path, bytes);

    const std::string folder = dir.File("out");
    const test::CliRun run = RunCli(
        "convert", {"--json", "-f", "wav", "-d", folder, "--if-exists", "overwrite", path}, config);
    const std::string output = JsonText(run.out, "output");
    ASSERT_NE(output, "null") << run.out;
    const double seconds = test::DecodeAudio(output).Seconds();
    std::smatch found;
    const std::string status = JsonText(run.out, "status");
    if (c.damage == Damage::None) {
      EXPECT_EQ(run.status, 0) << run.out;
      EXPECT_EQ(JsonText(run.out, "state"), "ok");
      EXPECT_NEAR(seconds, 10.0, 0.1);
    } else {
      const bool matched = std::regex_match(status, found, partial);
      EXPECT_TRUE(matched) << status;
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(JsonText(run.out, "state"), "partial");
      if (matched) {
        EXPECT_NEAR(seconds, std::stod(found[1].str()), 0.1);
      }
      EXPECT_GT(seconds, 3.0);
      EXPECT_LT(seconds, 5.0);
    }
  }
}

}  // namespace
}  // namespace quillo
