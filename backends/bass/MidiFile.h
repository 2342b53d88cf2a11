#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillo::audio {

// A Standard MIDI File (format 0, 1 or 2, bare or in a RIFF "RMID" wrapper)
// turned into one list of channel and system-exclusive events in playing
// order, each with its time in seconds after the tempo map is applied.
struct MidiSong {
  struct Event {
    double seconds = 0.0;
    uint8_t status = 0;  // a channel message (0x80..0xEF), 0xF0 for system exclusive
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t sysexStart = 0;  // into `sysex`, for 0xF0
    uint32_t sysexLength = 0;
  };
  std::vector<Event> events;
  std::vector<uint8_t> sysex;  // message bodies without their F0 and F7 bytes
  // The time of the last event or track end.
  double lengthSeconds = 0.0;
};

// Parses a MIDI file; nothing when it has no header or a header that makes
// no sense. Tracks cut short end where their data ends.
std::optional<MidiSong> ParseMidiFile(std::span<const uint8_t> bytes);

}  // namespace quillo::audio
