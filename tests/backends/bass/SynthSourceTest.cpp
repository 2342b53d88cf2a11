// BassSource over rendered material: tracker modules and MIDI files, which
// play at the rate they are asked for and stop at the song's end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "backends/bass/BassSource.h"
#include "backends/bass/MidiFile.h"
#include "tests/backends/bass/BassTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::DecodeAll;

void Be(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void Text(std::vector<uint8_t>& out, const char* text, size_t size) {
  for (size_t i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(text[i]));
}

// A track chunk around `events` (delta times already in place).
std::vector<uint8_t> Track(const std::vector<uint8_t>& events) {
  std::vector<uint8_t> out;
  Text(out, "MTrk", 4);
  Be(out, static_cast<uint32_t>(events.size()), 4);
  out.insert(out.end(), events.begin(), events.end());
  return out;
}

std::vector<uint8_t> MidiHeader(int format, int tracks, int division) {
  std::vector<uint8_t> out;
  Text(out, "MThd", 4);
  Be(out, 6, 4);
  Be(out, static_cast<uint32_t>(format), 2);
  Be(out, static_cast<uint32_t>(tracks), 2);
  Be(out, static_cast<uint32_t>(division), 2);
  return out;
}

// A format-0 song at 96 ticks per quarter: piano, two notes of a quarter at
// 120 bpm (0.5 s each), then the tempo doubles and the song ends after two
// more quarters (0.5 s): 1.5 s in all. Running status plays the second note.
std::vector<uint8_t> TwoNoteSong() {
  std::vector<uint8_t> events = {
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000
      0x00, 0xC0, 0x00,                          // program 0
      0x00, 0x90, 60,   100,                     // note on C4
      0x60, 0x80, 60,   0,                       // note off after 96 ticks
      0x00, 0x90, 64,   100,                     // note on E4
      0x60, 64,   0,                             // running status: velocity 0 ends it
      0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,  // tempo 250000
      0x81, 0x40, 0xFF, 0x2F, 0x00,              // end of track 192 ticks later
  };
  std::vector<uint8_t> file = MidiHeader(0, 1, 96);
  const std::vector<uint8_t> track = Track(events);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

// A four-channel ProTracker module: one pattern whose first row plays a
// looped square-wave sample; 64 rows at speed 6 and 125 bpm last 7.68 s.
std::vector<uint8_t> SquareModule() {
  std::vector<uint8_t> out;
  Text(out, "quillo square song\0\0", 20);
  const int sampleWords = 64;
  for (int s = 0; s < 31; ++s) {
    Text(out, "square\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);
    Be(out, s == 0 ? sampleWords : 0, 2);  // length in words
    out.push_back(0);                      // finetune
    out.push_back(s == 0 ? 64 : 0);        // volume
    Be(out, 0, 2);                         // loop start
    Be(out, s == 0 ? sampleWords : 1, 2);  // loop length
  }
  out.push_back(1);    // song length: one order
  out.push_back(127);  // restart
  for (int i = 0; i < 128; ++i) out.push_back(0);
  Text(out, "M.K.", 4);
  for (int row = 0; row < 64; ++row) {
    for (int channel = 0; channel < 4; ++channel) {
      if (row == 0 && channel == 0) {
        // Sample 1, period 428 (C-3), no effect.
        out.insert(out.end(), {0x01, 0xAC, 0x10, 0x00});
      } else {
        out.insert(out.end(), {0, 0, 0, 0});
      }
    }
  }
  for (int i = 0; i < sampleWords * 2; ++i) out.push_back(i < sampleWords ? 0x60 : 0xA0);
  return out;
}

int Peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from; i < to && i < samples.size(); ++i)
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  return peak;
}

class SynthSourceTest : public ::testing::Test {
 protected:
  void SetUp() override { test::StartLibrary(library_); }

  audio::AudioLibrary library_;
  test::TempDir dir_;
};

TEST_F(SynthSourceTest, MidiRendersAtTheAskedRateAndStopsAtTheSongsEnd) {
  ASSERT_TRUE(library_.LoadDefaultSoundFont());
  ASSERT_TRUE(library_.SoundFontLoaded());
  const std::string path = dir_.File("song.mid");
  test::WriteFile(path, TwoNoteSong());

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
    const test::Decoded decoded = DecodeAll(source);
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
  const test::Decoded quiet = DecodeAll(silent);
  EXPECT_EQ(quiet.Frames(), 22050u * 3 / 2);
  EXPECT_LE(Peak(quiet.samples, 0, quiet.samples.size()), 2);  // dither only
}

TEST_F(SynthSourceTest, MidiFilesAreKnownByTheirExtensionOnly) {
  const std::vector<uint8_t> song = TwoNoteSong();
  // A RIFF wrapper around the same song plays the same length.
  std::vector<uint8_t> rmi;
  Text(rmi, "RIFF", 4);
  const auto riffSize = static_cast<uint32_t>(4 + 8 + song.size());
  for (int i = 0; i < 4; ++i) rmi.push_back(static_cast<uint8_t>(riffSize >> (8 * i)));
  Text(rmi, "RMIDdata", 8);
  for (int i = 0; i < 4; ++i) rmi.push_back(static_cast<uint8_t>(song.size() >> (8 * i)));
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
  test::WriteFile(moduleAsMidi, SquareModule());
  EXPECT_FALSE(source.Open(moduleAsMidi, 44100));
  // A song without any time has length 0 and does not open.
  std::vector<uint8_t> empty = MidiHeader(0, 1, 96);
  const std::vector<uint8_t> track = Track({0x00, 0xFF, 0x2F, 0x00});
  empty.insert(empty.end(), track.begin(), track.end());
  const std::string emptyPath = dir_.File("empty.kar");
  test::WriteFile(emptyPath, empty);
  EXPECT_FALSE(source.Open(emptyPath, 44100));
}

TEST_F(SynthSourceTest, FormatOneTempoTrackTimesEveryTrack) {
  // Track 1 sets 60 bpm; track 2's note ends after one quarter: 1 s.
  std::vector<uint8_t> file = MidiHeader(1, 2, 480);
  const std::vector<uint8_t> tempo = Track({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x2F, 0x00});
  const std::vector<uint8_t> notes =
      Track({0x00, 0x99, 36, 110, 0x83, 0x60, 0x89, 36, 0, 0x00, 0xFF, 0x2F, 0x00});
  file.insert(file.end(), tempo.begin(), tempo.end());
  file.insert(file.end(), notes.begin(), notes.end());
  const std::optional<audio::MidiSong> song = audio::ParseMidiFile(file);
  ASSERT_TRUE(song);
  EXPECT_DOUBLE_EQ(song->lengthSeconds, 1.0);
  ASSERT_EQ(song->events.size(), 2u);
  EXPECT_EQ(song->events[0].status, 0x99);
  EXPECT_DOUBLE_EQ(song->events[1].seconds, 1.0);

  // SMPTE division: 25 frames of 40 ticks, so 1000 ticks are one second.
  std::vector<uint8_t> smpte = MidiHeader(0, 1, 0xE728);
  const std::vector<uint8_t> track = Track({0x00, 0x90, 60, 90, 0x87, 0x68, 0x80, 60, 0});
  smpte.insert(smpte.end(), track.begin(), track.end());
  const std::optional<audio::MidiSong> timed = audio::ParseMidiFile(smpte);
  ASSERT_TRUE(timed);
  EXPECT_DOUBLE_EQ(timed->lengthSeconds, 1.0);
}

TEST_F(SynthSourceTest, DamagedMidiFilesFailOrPlayWhatTheyHold) {
  const std::vector<uint8_t> good = TwoNoteSong();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool parses;
  };
  std::vector<Case> cases = {
      {"empty", {}, false},
      {"header only", MidiHeader(0, 1, 96), false},
      {"format 3", MidiHeader(3, 1, 96), false},
      {"division 0", MidiHeader(0, 1, 0), false},
      {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 10), false},
      {"cut in the track", std::vector<uint8_t>(good.begin(), good.begin() + 36), true},
      {"RIFF without data", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}, false},
  };
  // A track length far beyond the file, a data byte with no status, an
  // endless length quantity, a system-exclusive length past the end.
  std::vector<uint8_t> longTrack = good;
  longTrack[18] = 0x7F;
  cases.push_back({"track longer than the file", longTrack, true});
  std::vector<uint8_t> noStatus = MidiHeader(0, 1, 96);
  for (uint8_t b : Track({0x00, 0x40, 0x40})) noStatus.push_back(b);
  cases.push_back({"data without status", noStatus, true});
  std::vector<uint8_t> endless = MidiHeader(0, 1, 96);
  for (uint8_t b : Track({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x90, 60, 1})) endless.push_back(b);
  cases.push_back({"endless delta", endless, true});
  std::vector<uint8_t> sysex = MidiHeader(0, 1, 96);
  for (uint8_t b : Track({0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 0x41})) sysex.push_back(b);
  cases.push_back({"sysex past the end", sysex, true});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(audio::ParseMidiFile(c.bytes).has_value(), c.parses);
    const std::string path = dir_.File("bad.mid");
    test::WriteFile(path, c.bytes);
    BassSource source(library_);
    if (source.Open(path, 22050)) {
      const test::Decoded decoded = DecodeAll(source);
      EXPECT_EQ(decoded.samples.size() * 2, source.GetProgressTotal());
    }
  }
}

TEST_F(SynthSourceTest, ModulesRenderThroughTheModuleLoaderAtTheAskedRate) {
  const std::string path = dir_.File("square.mod");
  test::WriteFile(path, SquareModule());
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
    const test::Decoded decoded = DecodeAll(source);
    EXPECT_EQ(decoded.Frames(), frames);
    EXPECT_GT(Peak(decoded.samples, 0, decoded.samples.size()), 2000);
  }
  BassSource probe(library_);
  ASSERT_TRUE(probe.Open(path, 0));
  EXPECT_EQ(probe.GetSampleRate(), 44100);
  EXPECT_EQ(probe.GetBitRateKbps(), 1411);

  // A module with its pattern data cut off, and noise under module names.
  std::vector<uint8_t> cut = SquareModule();
  cut.resize(1200);
  const std::string cutPath = dir_.File("cut.mod");
  test::WriteFile(cutPath, cut);
  if (probe.Open(cutPath, 22050)) DecodeAll(probe);
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
