// Feeds arbitrary bytes to the settings reader as a settings file. Loading
// must keep the invariants the program relies on (a format that names a
// catalog row, every stored number within the range the store gives it,
// folders no longer than the store keeps, UTF-8 texts), and what it loads must survive a save and a
// second load unchanged: the file the second save writes is the first one.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "catalog/Catalog.h"
#include "engine/media/Utf8.h"
#include "settings/IniSettingsProvider.h"
#include "settings/SettingsStore.h"

namespace {

using quillo::ConversionSettings;

constexpr unsigned kAllGroups =
    quillo::kSaveWindow | quillo::kSaveSourceFolder | quillo::kSaveOptions;

// A scratch folder for the whole run, removed at exit. Every input gets new
// file names: the settings library keeps what it parsed of a file by name,
// and a rewrite within its timestamp's resolution would read as unchanged.
// Saves sync to the disk; in memory (/dev/shm, where there is one) that costs
// nothing, so the fuzzer runs many more inputs. The reader's private copies
// go there too. The name is never freed: the exit handler still reads it.
const std::string& ScratchFolder() {
  static const std::string& folder = *[] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    auto* name = new std::string(std::string(base) + "/quillo-settings-fuzz-XXXXXX");
    if (mkdtemp(name->data()) == nullptr) std::abort();
    setenv("TMPDIR", name->c_str(), 1);
    std::atexit([] { rmdir(ScratchFolder().c_str()); });
    return name;
  }();
  return folder;
}

// Removes its file when the input is done.
struct ScratchFile {
  explicit ScratchFile(std::string filePath) : path(std::move(filePath)) {}
  ~ScratchFile() { std::remove(path.c_str()); }
  std::string path;
};

ConversionSettings Load(const std::string& path) {
  ConversionSettings settings("/home/user/Documents");
  quillo::IniSettingsProvider provider(path);
  quillo::SettingsStore(provider).load(settings);
  return settings;
}

void Save(const ConversionSettings& settings, const std::string& path) {
  quillo::IniSettingsProvider provider(path);
  if (!quillo::SettingsStore(provider).save(settings, kAllGroups)) std::abort();
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CheckInvariants(const ConversionSettings& s) {
  if (quillo::FindFormat(s.formats, s.outputFormat) == nullptr) std::abort();
  // Every limit comes from the store's own description of the value.
  if (!quillo::SettingsStore::ValuesOutOfRange(s).empty()) std::abort();
  if (s.folder.size() > quillo::kMaxFolderBytes ||
      s.destSpecifiedFolder.size() > quillo::kMaxFolderBytes)
    std::abort();
  for (const std::string* text : {&s.folder, &s.destSpecifiedFolder, &s.filterExts, &s.tags.title,
                                  &s.tags.artist, &s.tags.album, &s.tags.year, &s.tags.genre,
                                  &s.tags.comment, &s.tags.composer, &s.tags.copyright})
    if (!quillo::IsValidUtf8(*text)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static unsigned long runs = 0;
  const std::string stem = ScratchFolder() + "/" + std::to_string(runs++);
  const ScratchFile input(stem + "-in.conf");
  const ScratchFile saved(stem + "-saved.conf");
  const ScratchFile again(stem + "-again.conf");
  {
    std::ofstream out(input.path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) return 0;
  }

  const ConversionSettings loaded = Load(input.path);
  CheckInvariants(loaded);
  Save(loaded, saved.path);
  const ConversionSettings reloaded = Load(saved.path);
  CheckInvariants(reloaded);
  Save(reloaded, again.path);
  if (Contents(saved.path) != Contents(again.path)) std::abort();
  return 0;
}
