#pragma once

#include <string>
#include <vector>

#include "engine/cue/CueTrack.h"

namespace quillo {

// The tracks a sheet file describes, with its files found beside it.
struct CueSheetTracks {
  std::string error;  // the sheet itself could not be read; no tracks then
  std::vector<CueTrack> tracks;
  // Why each track cannot be converted ("could not find FILE ..."), empty
  // for the tracks whose image is there; one entry per track.
  std::vector<std::string> failures;
};

// Whether `path` names a cue sheet (by its extension, in any letter case).
bool IsCueSheetPath(const std::string& path);

// Reads the sheet at `sheetPath`: its text in whatever encoding, its FILE
// lines taken relative to the sheet's folder (a missing image is also looked
// for under its own name with another extension, as sheets made before an
// image was compressed name the old file), the tracks' windows, names and tags.
CueSheetTracks ReadCueTracks(const std::string& sheetPath);

// Why the sheet at `sheetPath` gives no track to convert: the sheet's own
// problem, or the first track's that fails.
std::string CueSheetProblem(const std::string& sheetPath);

// A track's row name: "07 Title", or "Sheet 07" without a title, safe as a
// file name (no "/", no control characters, no leading dot).
std::string CueTrackName(const std::string& sheetStem, int number, const std::string& title);

}  // namespace quillo
