// Feeds arbitrary bytes to the MIDI file parser and the stream sniffers: a
// song that parses must be in time order, within its length, and point only
// into its own system-exclusive data.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "backends/bass/FormatSniff.h"
#include "backends/bass/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  quillo::audio::Id3v2TagSize(bytes);
  quillo::audio::LooksLikeMpegAudio(bytes);
  quillo::audio::LooksLikeAdts(bytes);
  quillo::audio::IsAdxHead(bytes);

  const auto song = quillo::audio::ParseMidiFile(bytes);
  if (!song) return 0;
  double last = 0.0;
  for (const auto& event : song->events) {
    if (event.seconds < last || event.seconds > song->lengthSeconds) std::abort();
    last = event.seconds;
    if (event.status == 0xF0 &&
        (event.sysexLength == 0 ||
         uint64_t{event.sysexStart} + event.sysexLength > song->sysex.size()))
      std::abort();
  }
  return 0;
}
