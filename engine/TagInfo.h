#pragma once

#include <string>
#include <string_view>

namespace quillo {

// The nine tag texts a source reports, in the order ReadTags fills them.
struct TagInfo {
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string genre;
  std::string comment;
  std::string track;
  std::string composer;
  std::string copyright;

  bool operator==(const TagInfo&) const = default;
};

// The track text as a number: leading blanks and a sign are accepted, the
// conversion stops at the first non-digit, and a text without digits gives 0.
int TrackNumberFromText(std::string_view text);

// A track number as the text a sink writes: empty for 0 or less.
std::string TrackText(int track);

}  // namespace quillo
