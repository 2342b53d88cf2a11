#include "backends/bass/SoundFont.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>

#include "base/AsciiCase.h"

namespace quillo::audio {

namespace fs = std::filesystem;

std::shared_ptr<const SoundFont> SoundFont::Load(const std::string& path) {
  if (!fluid_is_soundfont(path.c_str())) return nullptr;
  std::shared_ptr<SoundFont> font(new SoundFont);
  font->path_ = path;
  font->settings_.reset(new_fluid_settings());
  if (!font->settings_) return nullptr;
  font->synth_.reset(new_fluid_synth(font->settings_.get()));
  if (!font->synth_ || fluid_synth_sfload(font->synth_.get(), path.c_str(), 1) == FLUID_FAILED)
    return nullptr;
  return font;
}

std::string FindSoundFont(const std::vector<std::string>& programFolders,
                          const std::string& systemFolder) {
  std::error_code ec;
  for (const std::string& folder : programFolders) {
    const fs::path candidate = fs::path(folder) / kSoundFontName;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  const fs::path systemDefault = fs::path(systemFolder) / "default-GM.sf2";
  if (fs::is_regular_file(systemDefault, ec)) return systemDefault.string();
  std::vector<std::string> fonts;
  for (fs::directory_iterator it(systemFolder, ec), end; !ec && it != end; it.increment(ec)) {
    if (AsciiLower(it->path().extension().string()) == ".sf2" &&
        fs::is_regular_file(it->path(), ec))
      fonts.push_back(it->path().string());
  }
  std::sort(fonts.begin(), fonts.end());
  return fonts.empty() ? std::string() : fonts.front();
}

std::vector<std::string> ProgramDataFolders() {
  std::vector<std::string> folders;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    folders.push_back(exe.parent_path().string());
    folders.push_back((exe.parent_path().parent_path() / "share" / "quillo").string());
  }
#ifdef QUILLO_DATA_DIR
  if (std::find(folders.begin(), folders.end(), QUILLO_DATA_DIR) == folders.end())
    folders.push_back(QUILLO_DATA_DIR);
#endif
  return folders;
}

void ReleaseHandle(fluid_settings_t* settings) { delete_fluid_settings(settings); }
void ReleaseHandle(fluid_synth_t* synth) { delete_fluid_synth(synth); }

}  // namespace quillo::audio
