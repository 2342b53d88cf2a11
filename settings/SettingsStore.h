#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/ConversionSettings.h"
#include "settings/SettingsProvider.h"

namespace quillo {

// A stored folder is an absolute path no longer than Linux takes (PATH_MAX
// less its terminating zero); anything else keeps the default, as a
// shortened or relative path would name another folder.
inline constexpr std::size_t kMaxFolderBytes = 4095;

// The groups of values save() writes, each at its own moment.
enum SaveGroup : unsigned {
  kSaveWindow = 1u << 0,        // "OutputFormat", "OptStartPageIndex": when the window closes
  kSaveSourceFolder = 1u << 1,  // "Folder": when Add Folder accepts a folder
  kSaveOptions = 1u << 2,       // everything else and the tags: OK in the options sheet
};

// The tag texts under their names in the settings file; the command line's
// option of each is its name in lower case (--title).
struct TagText {
  const char* name;
  std::string TagSettings::*field;
};
inline constexpr TagText kTagTexts[] = {
    {"Title", &TagSettings::title},       {"Artist", &TagSettings::artist},
    {"Album", &TagSettings::album},       {"Year", &TagSettings::year},
    {"Genre", &TagSettings::genre},       {"Comment", &TagSettings::comment},
    {"Composer", &TagSettings::composer}, {"Copyright", &TagSettings::copyright},
};

// Loads and saves ConversionSettings and the catalog rows' encoding choices
// through a SettingsProvider, under the value names of the settings file.
class SettingsStore {
 public:
  static constexpr const char* kOptionsGroup = "Options";
  static constexpr const char* kTagGroup = "Options/ID3";

  explicit SettingsStore(SettingsProvider& provider) : provider_(provider) {}

  // Reads every stored value over the fields; missing or unreadable values
  // keep what the fields hold. Rebuilds the extension filter.
  void load(ConversionSettings& settings) const;
  // Reads the tag group; false when it holds nothing.
  bool loadTags(TagSettings& tags) const;

  // Writes the chosen groups (SaveGroup bits). False for no group, which
  // writes nothing, and when the values could not be stored.
  bool save(const ConversionSettings& settings, unsigned groups);
  bool saveTags(const TagSettings& tags);

  // The names of the stored numbers whose fields hold a value that loading
  // never gives them (outside the value's range or list of codes); empty when
  // every field is one a settings file could hold.
  static std::vector<std::string> ValuesOutOfRange(const ConversionSettings& settings);

  // True exactly once: on the first start, when "FirstRun" is absent or
  // non-zero; it is then stored as 0. The caller opens the help page.
  bool checkFirstRun();

 private:
  void writeTags(const TagSettings& tags);

  SettingsProvider& provider_;
};

}  // namespace quillo
