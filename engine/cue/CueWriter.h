#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillo {

// One joined file as its track of the sheet written beside a join.
struct JoinedTrack {
  std::string title;
  std::string performer;
  int64_t startFrame = 0;  // its first sample in the joined output
};

// The sheet of a join: FILE naming the joined file (by name: the sheet lies
// beside it) with its type, then one TRACK per joined file with its TITLE,
// PERFORMER and INDEX 01. `rate` is the joined output's; a start between two
// CD frames (1/75 s) is written at the nearer one.
std::string JoinCueSheetText(const std::string& outputFileName,
                             const std::vector<JoinedTrack>& tracks, int rate);

// Where the sheet of a join goes: the output's path with ".cue" in place of
// its extension.
std::string JoinCueSheetPath(const std::string& outputPath);

}  // namespace quillo
