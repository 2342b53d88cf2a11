#pragma once

#include <string>

#include "engine/media/TagInfo.h"

namespace quillo {

// Reads the tags of a RIFF WAVE file from its LIST/INFO chunk (and a plain-text
// DISP chunk as the title fallback). Every field of `tags` is emptied first;
// returns true when anything was found. The composer is never filled.
bool ReadRiffInfoTags(const std::string& path, TagInfo& tags);

}  // namespace quillo
