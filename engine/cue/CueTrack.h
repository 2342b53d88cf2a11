#pragma once

#include <cstdint>
#include <string>

#include "engine/media/TagInfo.h"

namespace quillo {

// CD positions count frames of 1/75 s.
inline constexpr int64_t kCueFramesPerSecond = 75;

// One track of a cue sheet: the part of an image between its INDEX 01 and
// the next track's INDEX 01 in the same image (the file's end for the last),
// so a pregap (INDEX 00) stays with the track before it.
struct CueTrack {
  std::string sheetPath;  // the sheet the track comes from: the tracks of one sheet are an album
  std::string imagePath;  // the file the track is cut from
  std::string name;       // "07 Title", or "Sheet 07" without a title
  int number = 0;
  int total = 0;           // the tracks of the sheet
  int64_t startFrame = 0;  // INDEX 01, in 1/75 s
  int64_t endFrame = -1;   // the next INDEX 01 in the same image; -1: the image's end
  TagInfo tags;            // the track's own values over the sheet's
  std::string isrc;
  std::string discNumber;
};

// `frame` (1/75 s) as a sample position at `rate`, rounded down.
inline int64_t CueFrameToSample(int64_t frame, int rate) {
  return frame * rate / kCueFramesPerSecond;
}

}  // namespace quillo
