#pragma once

#include <string>
#include <string_view>

#include "engine/media/Utf8.h"

namespace quillo {

// Tag text from old file formats that carry no encoding: kept as it is when
// it already is valid UTF-8, otherwise read as Windows-1252 (the 8-bit text
// such files were written with) and converted to UTF-8.
std::string LegacyTextToUtf8(std::string_view text);

}  // namespace quillo
