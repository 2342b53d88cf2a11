#pragma once

#include <array>
#include <string_view>

namespace quillo {

// The genre names that numeric genre references (ID3v1 bytes, "(17)" texts,
// RIFF genre indexes) point into: the ID3v1 list with its extensions, 0..147.
inline constexpr int kGenreCount = 148;

const std::array<std::string_view, kGenreCount>& GenreNames();

// The name at `index`, or an empty view when the index is outside 0..147.
std::string_view GenreName(int index);

}  // namespace quillo
