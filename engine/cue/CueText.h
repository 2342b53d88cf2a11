#pragma once

#include <string>
#include <string_view>

namespace quillo {

// A cue sheet's bytes as UTF-8: UTF-8 with or without a byte order mark and
// UTF-16 with one are taken as they say; anything else is detected (Latin-1,
// CP1251, Shift-JIS and the like) and converted. Returns false, with
// `error` saying why, when the text cannot be read in any encoding.
bool CueTextToUtf8(std::string_view bytes, std::string& text, std::string& error);

}  // namespace quillo
