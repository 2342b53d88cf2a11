#include "backends/bass/LibrarySoundFont.h"

#include "backends/bass/SoundFont.h"

namespace quillo {

std::string LibrarySoundFont::ProgramFolder() const {
  const std::vector<std::string> folders = audio::ProgramDataFolders();
  return folders.empty() ? std::string() : folders.front() + "/";
}

}  // namespace quillo
