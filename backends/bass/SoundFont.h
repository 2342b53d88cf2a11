#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backends/bass/LibraryHandles.h"

namespace quillo::audio {

// The sound font's file name beside the program.
inline constexpr const char* kSoundFontName = "ct4mgm.sf2";
// Where the system's General MIDI sound fonts live.
inline constexpr const char* kSystemSoundFontFolder = "/usr/share/sounds/sf2";

// A sound font that has been read and checked. Keeping it loaded keeps its
// samples in the synthesizer's cache, so that each MIDI stream that loads the
// same file later does so without reading the samples again.
class SoundFont {
 public:
  // Reads the font at `path`; null when it is no sound font or cannot be read.
  static std::shared_ptr<const SoundFont> Load(const std::string& path);

  const std::string& Path() const { return path_; }

 private:
  SoundFont() = default;

  std::string path_;
  FluidSettingsPtr settings_;
  FluidSynthPtr synth_;
};

// The sound font to load: "ct4mgm.sf2" in the first of `programFolders` that
// has it, else "default-GM.sf2" in `systemFolder`, else the first ".sf2"
// there (by name). Empty when there is none.
std::string FindSoundFont(const std::vector<std::string>& programFolders,
                          const std::string& systemFolder);

// The program's folders that may hold its data files: the executable's own
// folder, then the installed data folder.
std::vector<std::string> ProgramDataFolders();

}  // namespace quillo::audio
