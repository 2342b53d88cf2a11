#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillo {

// The nine tag texts a source reports, in the order ReadTags fills them,
// and the two more that only output names use.
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
  // Read where a tag names them (the album's artist, "1" or "1/2" of a
  // set); sinks write none of them.
  std::string albumArtist;
  std::string disc;

  bool operator==(const TagInfo&) const = default;
};

// The longest tag text kept, in bytes: far beyond any real title or comment,
// small enough that a damaged or hostile tag cannot exhaust the memory.
constexpr size_t kMaxTagTextBytes = 1024 * 1024;

// Cuts `text` to kMaxTagTextBytes, never inside a UTF-8 sequence.
void CapTagText(std::string& text);

// Caps each of the texts.
void CapTagTexts(TagInfo& tags);

// The track text as a number: leading blanks and a sign are accepted, the
// conversion stops at the first non-digit, and a text without digits gives 0.
int TrackNumberFromText(std::string_view text);

// A track number as the text a sink writes: empty for 0 or less.
std::string TrackText(int track);

}  // namespace quillo
