#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backends/bass/AudioLibrary.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {

// A started library with every start-up handler but those in `without`.
void StartLibrary(audio::AudioLibrary& library, const std::vector<std::string>& without = {});

// A library started for each test, beside the test's folder.
class LibraryTest : public FolderTest {
 protected:
  void SetUp() override { StartLibrary(library_); }

  audio::AudioLibrary library_;
};

// A canonical WAV file of integer PCM (`bits` 8, 16, 24 or 32; 8-bit is
// unsigned) or, with `isFloat`, 32-bit float. `samples` are interleaved
// values of the file's own width (8-bit: 0..255).
void WriteWav(const std::string& path, int rate, int channels, int bits, bool isFloat,
              const std::vector<int32_t>& samples);
void WriteFloatWav(const std::string& path, int rate, int channels,
                   const std::vector<float>& samples);

// Interleaved 16-bit samples as a vector of int32 (for the WAV writer).
std::vector<int32_t> Widen(const std::vector<int16_t>& samples);

// Appends the first `size` bytes of `text`.
void PutText(std::vector<uint8_t>& out, const char* text, size_t size);
// A Standard MIDI File header chunk; a whole file, the header and then a
// track chunk around each of `tracks` (events with their delta times).
std::vector<uint8_t> MidiHeader(int format, int tracks, int division);
std::vector<uint8_t> MidiFile(int format, int division,
                              const std::vector<std::vector<uint8_t>>& tracks);
// A 1.5 s format-0 song of two notes with a tempo change.
std::vector<uint8_t> TwoNoteSong();
// A 7.68 s four-channel module playing a looped square wave.
std::vector<uint8_t> SquareModule();

}  // namespace quillo::test
