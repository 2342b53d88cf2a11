#pragma once

#include <cstdint>
#include <string>

#include "settings/SettingsEnums.h"

namespace quillo {

// The custom tags the user entered, and how titles and track numbers are made.
struct TagSettings {
  std::string title;
  std::string artist;
  std::string album;
  std::string year;   // kept as text
  std::string genre;  // a genre name, kept as text
  std::string comment;
  std::string composer;
  std::string copyright;
  int32_t titleAsFileName = 1;  // the source's file name without extension as title
  TrackNumberMode trackNumType = TrackNumberMode::None;
  int32_t customTrackNum = 0;

  bool operator==(const TagSettings&) const = default;
};

}  // namespace quillo
