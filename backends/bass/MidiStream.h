#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backends/bass/AudioStream.h"
#include "backends/bass/LibraryHandles.h"
#include "backends/bass/MidiFile.h"

namespace quillo::audio {

// A MIDI file rendered by FluidSynth as 16-bit stereo at a chosen rate with a
// sound font. The length is the song's length at that rate: the stream ends
// with the last event, as a player would stop there. Like a module it has no
// file length of its own, so its bit rate is that of the PCM it renders.
class MidiStream final : public AudioStream {
 public:
  // `fontPath` may be empty: the song then plays silent.
  static std::unique_ptr<AudioStream> Open(const std::string& path, int rate,
                                           const std::string& fontPath);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  MidiStream() = default;
  void Dispatch(const MidiSong::Event& event);

  FluidSettingsPtr settings_;
  FluidSynthPtr synth_;
  MidiSong song_;
  std::vector<uint64_t> eventFrames_;
  size_t nextEvent_ = 0;
  uint64_t frame_ = 0;
  uint64_t totalFrames_ = 0;
};

}  // namespace quillo::audio
