// BassSource over rendered material: tracker modules and MIDI files, which
// play at the rate they are asked for and stop at the song's end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "backends/bass/BassSource.h"
#include "backends/bass/MidiFile.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/ReadAll.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::ReadAll;

int Peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < to && i < samples.size(); ++i)
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  return peak;
}

using SynthSourceTest = test::LibraryTest;

TEST_F(SynthSourceTest, MidiRendersAtTheAskedRateAndStopsAtTheSongsEnd) {
  ASSERT_TRUE(library_.LoadDefaultSoundFont());
  ASSERT_TRUE(library_.SoundFontLoaded());
  const std::string path = dir_.File("song.mid");
  test::WriteFile(path, test::TwoNoteSong());

  for (int rate : {44100, 22050}) {
    SCOPED_TRACE(rate);
    BassSource source(library_);
    ASSERT_TRUE(source.Open(path, rate));
    EXPECT_EQ(source.GetSampleRate(), rate);
    EXPECT_EQ(source.GetSourceChannels(), 2);
    EXPECT_EQ(source.GetChannels(), 2);
    EXPECT_EQ(source.GetDurationSeconds(), 1);
    const auto frames = static_cast<uint64_t>(rate) * 3 / 2;
    EXPECT_EQ(source.GetProgressTotal(), frames * 4);
    const test::Decoded decoded = ReadAll(source);
    EXPECT_EQ(decoded.Frames(), frames);
    EXPECT_EQ(source.GetProgressPosition(), source.GetProgressTotal());
    // The notes sound in the first second; the last half second is the
    // faster tempo's silence plus the release of the second note.
    EXPECT_GT(Peak(decoded.samples, 0, static_cast<size_t>(rate)), 1000);
  }

  // A probe (rate 0) renders at the library's own rate.
  BassSource probe(library_);
  ASSERT_TRUE(probe.Open(path, 0));
  EXPECT_EQ(probe.GetSampleRate(), 44100);
  EXPECT_EQ(probe.GetBitRateKbps(), 1411);

  // Without a sound font the song keeps its length but plays silent.
  audio::AudioLibrary noFont;
  test::StartLibrary(noFont);
  EXPECT_FALSE(noFont.SoundFontLoaded());
  BassSource silent(noFont);
  ASSERT_TRUE(silent.Open(path, 22050));
  const test::Decoded quiet = ReadAll(silent);
  EXPECT_EQ(quiet.Frames(), 22050u * 3 / 2);
  EXPECT_LE(Peak(quiet.samples, 0, quiet.samples.size()), 2);  // dither only
}

TEST_F(SynthSourceTest, MidiFilesAreKnownByTheirExtensionOnly) {
  const std::vector<uint8_t> song = test::TwoNoteSong();
  // A RIFF wrapper around the same song plays the same length.
  std::vector<uint8_t> rmi;
  test::PutText(rmi, "RIFF", 4);
  test::PutInt(rmi, 4 + 8 + song.size(), 4, false);
  test::PutText(rmi, "RMIDdata", 8);
  test::PutInt(rmi, song.size(), 4, false);
  rmi.insert(rmi.end(), song.begin(), song.end());
  const std::string rmiPath = dir_.File("song.RMI");
  test::WriteFile(rmiPath, rmi);
  BassSource source(library_);
  ASSERT_TRUE(source.Open(rmiPath, 8000));
  EXPECT_EQ(source.GetProgressTotal(), 8000u * 3 / 2 * 4);

  // A MIDI song under another name is no stream, no module: it fails.
  const std::string renamed = dir_.File("song.wav");
  test::WriteFile(renamed, song);
  EXPECT_FALSE(source.Open(renamed, 44100));
  // A module under a MIDI name does not fall back to the module loader.
  const std::string moduleAsMidi = dir_.File("tune.mid");
  test::WriteFile(moduleAsMidi, test::SquareModule());
  EXPECT_FALSE(source.Open(moduleAsMidi, 44100));
  // A song without any time has length 0 and does not open.
  const std::string emptyPath = dir_.File("empty.kar");
  test::WriteFile(emptyPath, test::MidiFile(0, 96, {{0x00, 0xFF, 0x2F, 0x00}}));
  EXPECT_FALSE(source.Open(emptyPath, 44100));
}

TEST_F(SynthSourceTest, FormatOneTempoTrackTimesEveryTrack) {
  // Track 1 sets 60 bpm; track 2's note ends after one quarter: 1 s.
  const std::optional<audio::MidiSong> song = audio::ParseMidiFile(
      test::MidiFile(1, 480,
                     {{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x2F, 0x00},
                      {0x00, 0x99, 36, 110, 0x83, 0x60, 0x89, 36, 0, 0x00, 0xFF, 0x2F, 0x00}}));
  ASSERT_TRUE(song);
  EXPECT_DOUBLE_EQ(song->lengthSeconds, 1.0);
  ASSERT_EQ(song->events.size(), 2u);
  EXPECT_EQ(song->events[0].status, 0x99);
  EXPECT_DOUBLE_EQ(song->events[1].seconds, 1.0);

  // SMPTE division: 25 frames of 40 ticks, so 1000 ticks are one second.
  const std::optional<audio::MidiSong> timed = audio::ParseMidiFile(
      test::MidiFile(0, 0xE728, {{0x00, 0x90, 60, 90, 0x87, 0x68, 0x80, 60, 0}}));
  ASSERT_TRUE(timed);
  EXPECT_DOUBLE_EQ(timed->lengthSeconds, 1.0);
}

TEST_F(SynthSourceTest, DamagedMidiFilesFailOrPlayWhatTheyHold) {
  const std::vector<uint8_t> good = test::TwoNoteSong();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool parses;
  };
  std::vector<Case> cases = {
      {"empty", {}, false},
      {"header only", test::MidiHeader(0, 1, 96), false},
      {"format 3", test::MidiHeader(3, 1, 96), false},
      {"division 0", test::MidiHeader(0, 1, 0), false},
      {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 10), false},
      {"cut in the track", std::vector<uint8_t>(good.begin(), good.begin() + 36), true},
      {"RIFF without data", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}, false},
  };
  // A track length far beyond the file, a data byte with no status, an
  // endless length quantity, a system-exclusive length past the end.
  std::vector<uint8_t> longTrack = good;
  longTrack[18] = 0x7F;
  cases.push_back({"track longer than the file", longTrack, true});
  cases.push_back({"data without status", test::MidiFile(0, 96, {{0x00, 0x40, 0x40}}), true});
  cases.push_back({"endless delta",
                   test::MidiFile(0, 96, {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x90, 60, 1}}), true});
  cases.push_back({"sysex past the end",
                   test::MidiFile(0, 96, {{0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0x41}}), true});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(audio::ParseMidiFile(c.bytes).has_value(), c.parses);
    const std::string path = dir_.File("bad.mid");
    test::WriteFile(path, c.bytes);
    BassSource source(library_);
    if (source.Open(path, 22050)) {
      const test::Decoded decoded = ReadAll(source);
      EXPECT_EQ(decoded.samples.size() * 2, source.GetProgressTotal());
    }
  }
}

TEST_F(SynthSourceTest, ModulesRenderThroughTheModuleLoaderAtTheAskedRate) {
  const std::string path = dir_.File("square.mod");
  test::WriteFile(path, test::SquareModule());
  for (int rate : {44100, 48000}) {
    SCOPED_TRACE(rate);
    BassSource source(library_);
    ASSERT_TRUE(source.Open(path, rate));
    EXPECT_EQ(source.GetSampleRate(), rate);
    EXPECT_EQ(source.GetSourceChannels(), 2);
    EXPECT_EQ(source.GetDurationSeconds(), 7);
    // Modules have no file length of their own: the bit rate is the PCM's.
    EXPECT_EQ(source.GetBitRateKbps(), 16 * rate * 2 / 1000);
    const auto frames = static_cast<uint64_t>(std::llround(7.68 * rate));
    EXPECT_EQ(source.GetProgressTotal(), frames * 4);
    const test::Decoded decoded = ReadAll(source);
    EXPECT_EQ(decoded.Frames(), frames);
    EXPECT_GT(Peak(decoded.samples, 0, decoded.samples.size()), 2000);
  }
  BassSource probe(library_);
  ASSERT_TRUE(probe.Open(path, 0));
  EXPECT_EQ(probe.GetSampleRate(), 44100);
  EXPECT_EQ(probe.GetBitRateKbps(), 1411);

  // A module with its pattern data cut off, and noise under module names.
  std::vector<uint8_t> cut = test::SquareModule();
  cut.resize(1200);
  const std::string cutPath = dir_.File("cut.mod");
  test::WriteFile(cutPath, cut);
  if (probe.Open(cutPath, 22050)) ReadAll(probe);
  std::vector<uint8_t> noise(5000);
  uint32_t seed = 99;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((seed = seed * 1664525 + 1013904223) >> 24);
  for (const char* name : {"n.xm", "n.it", "n.s3m", "n.mtm", "n.umx", "n.mo3"}) {
    const std::string noisePath = dir_.File(name);
    test::WriteFile(noisePath, noise);
    EXPECT_FALSE(probe.Open(noisePath, 44100)) << name;
  }
}

}  // namespace
}  // namespace quillo
