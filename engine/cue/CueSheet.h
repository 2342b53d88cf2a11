#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/cue/CueTrack.h"

namespace quillo {

// What a sheet's text says, before its files are looked at. Track values
// are the track's own; the sheet's values fill what a track lacks when the
// tracks are made.
struct ParsedCueTrack {
  int number = 0;
  std::string file;      // the FILE in force at its INDEX 01, as written
  int64_t index01 = -1;  // -1: the track has no INDEX 01
  TagInfo tags;          // title, artist, composer, genre, year, comment
  std::string isrc;
};

struct ParsedCueSheet {
  TagInfo tags;  // title (the album), artist, composer, genre, year, comment
  std::string discNumber;
  std::vector<ParsedCueTrack> tracks;  // in the sheet's order
};

// Reads a sheet's UTF-8 text. Tolerant as real sheets need: commands in any
// letter case, values quoted or not (an unquoted value runs to the line's
// end, a quote left open to the line's end), any line ending, unknown lines
// ignored. Tracks without an INDEX 01 are dropped.
ParsedCueSheet ParseCueSheet(std::string_view text);

// "mm:ss:ff" as frames (1/75 s); -1 when the text is not such a time.
int64_t ParseCueTime(std::string_view text);

// Frames as "mm:ss:ff".
std::string CueTimeText(int64_t frames);

}  // namespace quillo
