#pragma once

#include <cstddef>
#include <string>

#include "engine/media/TagInfo.h"

namespace quillo {

// The year keeps its first characters only (a date such as "2001-05-04"
// gives "2001").
inline constexpr std::size_t kRiffYearCharacters = 4;

// Reads the tags of a RIFF WAVE file from its LIST/INFO chunk (and a plain-text
// DISP chunk as the title fallback). Every field of `tags` is emptied first;
// returns true when anything was found. The composer is never filled.
bool ReadRiffInfoTags(const std::string& path, TagInfo& tags);

}  // namespace quillo
