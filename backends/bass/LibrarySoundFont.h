#pragma once

#include "backends/bass/AudioLibrary.h"
#include "engine/media/SoundFontService.h"

namespace quillo {

// The audio library's default MIDI sound font, as the conversion run asks
// for it.
class LibrarySoundFont final : public SoundFontService {
 public:
  explicit LibrarySoundFont(audio::AudioLibrary& library) : library_(library) {}
  bool IsLoaded() const override { return library_.SoundFontLoaded(); }
  bool Load() override { return library_.LoadDefaultSoundFont(); }
  std::string ProgramFolder() const override;

 private:
  audio::AudioLibrary& library_;
};

}  // namespace quillo
