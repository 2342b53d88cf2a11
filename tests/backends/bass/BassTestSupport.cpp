#include "tests/backends/bass/BassTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/support/TestSupport.h"

namespace quillo::test {

namespace {

std::vector<uint8_t> WavHeader(int rate, int channels, int bits, int format, size_t dataBytes) {
  std::vector<uint8_t> out;
  PutText(out, "RIFF", 4);
  PutInt(out, static_cast<uint32_t>(36 + dataBytes), 4, false);
  PutText(out, "WAVE", 4);
  PutText(out, "fmt ", 4);
  PutInt(out, 16, 4, false);
  PutInt(out, static_cast<uint32_t>(format), 2, false);
  PutInt(out, static_cast<uint32_t>(channels), 2, false);
  PutInt(out, static_cast<uint32_t>(rate), 4, false);
  PutInt(out, static_cast<uint32_t>(rate * channels * bits / 8), 4, false);
  PutInt(out, static_cast<uint32_t>(channels * bits / 8), 2, false);
  PutInt(out, static_cast<uint32_t>(bits), 2, false);
  PutText(out, "data", 4);
  PutInt(out, static_cast<uint32_t>(dataBytes), 4, false);
  return out;
}

}  // namespace

void StartLibrary(audio::AudioLibrary& library, const std::vector<std::string>& without) {
  ASSERT_TRUE(library.Init());
  for (std::string_view name : audio::kStartupPlugins) {
    if (std::find(without.begin(), without.end(), name) == without.end()) {
      ASSERT_NE(library.PluginLoad(name), 0) << name;
    }
  }
}

void WriteWav(const std::string& path, int rate, int channels, int bits, bool isFloat,
              const std::vector<int32_t>& samples) {
  const int bytes = bits / 8;
  std::vector<uint8_t> out =
      WavHeader(rate, channels, bits, isFloat ? 3 : 1, samples.size() * static_cast<size_t>(bytes));
  for (int32_t s : samples) PutInt(out, static_cast<uint32_t>(s), bytes, false);
  WriteFile(path, out);
}

void WriteFloatWav(const std::string& path, int rate, int channels,
                   const std::vector<float>& samples) {
  std::vector<int32_t> bits(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) std::memcpy(&bits[i], &samples[i], 4);
  WriteWav(path, rate, channels, 32, true, bits);
}

std::vector<int32_t> Widen(const std::vector<int16_t>& samples) {
  return {samples.begin(), samples.end()};
}

void PutText(std::vector<uint8_t>& out, const char* text, size_t size) {
  for (size_t i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(text[i]));
}

std::vector<uint8_t> MidiHeader(int format, int tracks, int division) {
  std::vector<uint8_t> out;
  PutText(out, "MThd", 4);
  PutInt(out, 6, 4, true);
  PutInt(out, static_cast<uint32_t>(format), 2, true);
  PutInt(out, static_cast<uint32_t>(tracks), 2, true);
  PutInt(out, static_cast<uint32_t>(division), 2, true);
  return out;
}

std::vector<uint8_t> MidiFile(int format, int division,
                              const std::vector<std::vector<uint8_t>>& tracks) {
  std::vector<uint8_t> out = MidiHeader(format, static_cast<int>(tracks.size()), division);
  for (const std::vector<uint8_t>& events : tracks) {
    PutText(out, "MTrk", 4);
    PutInt(out, events.size(), 4, true);
    out.insert(out.end(), events.begin(), events.end());
  }
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
  return MidiFile(0, 96, {events});
}

// A four-channel ProTracker module: one pattern whose first row plays a
// looped square-wave sample; 64 rows at speed 6 and 125 bpm last 7.68 s.
std::vector<uint8_t> SquareModule() {
  std::vector<uint8_t> out;
  PutText(out, "quillo square song\0\0", 20);
  const int sampleWords = 64;
  for (int s = 0; s < 31; ++s) {
    PutText(out, "square\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);
    PutInt(out, s == 0 ? sampleWords : 0, 2, true);  // length in words
    out.push_back(0);                                // finetune
    out.push_back(s == 0 ? 64 : 0);                  // volume
    PutInt(out, 0, 2, true);                         // loop start
    PutInt(out, s == 0 ? sampleWords : 1, 2, true);  // loop length
  }
  out.push_back(1);    // song length: one order
  out.push_back(127);  // restart
  for (int i = 0; i < 128; ++i) out.push_back(0);
  PutText(out, "M.K.", 4);
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

}  // namespace quillo::test
