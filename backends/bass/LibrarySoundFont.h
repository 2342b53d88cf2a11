#pragma once

#include "backends/bass/AudioLibrary.h"
#include "backends/bass/SoundFont.h"
#include "engine/media/SoundFontService.h"

namespace quillo {

// The audio library's default MIDI sound font, as the conversion run asks
// for it.
class LibrarySoundFont final : public SoundFontService {
 public:
  explicit LibrarySoundFont(audio::AudioLibrary& library) : library_(library) {}
  bool IsLoaded() const override { return library_.SoundFontLoaded(); }
  bool Load() override { return library_.LoadDefaultSoundFont(); }
  std::string ProgramFolder() const override {
    const std::vector<std::string> folders = audio::ProgramDataFolders();
    return folders.empty() ? std::string() : folders.front() + "/";
  }

 private:
  audio::AudioLibrary& library_;
};

}  // namespace quillo
