#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/Conversion.h"
#include "engine/cue/CueTracks.h"

namespace quillo {

// The sheets among a list of paths to add, read once: their tracks become
// the rows, and the images they cut are not added again as whole files.
class CueSheetsToAdd {
 public:
  explicit CueSheetsToAdd(const std::vector<std::string>& paths);

  // Whether `path` is an image that one of the sheets cuts into tracks.
  bool IsCutImage(const std::string& path) const;

  // The tracks of the sheet at `path` (read here when it was not among the paths).
  const CueSheetTracks& Tracks(const std::string& path);

 private:
  std::map<std::string, CueSheetTracks> sheets_;
  std::vector<std::string> imageKeys_;
};

// Adds one row per track of a sheet, each image opened once for its
// properties. One result per track, in order; a sheet that cannot be read
// gives one failed result.
std::vector<ProbeResult> ProbeCueSheet(const CueSheetTracks& sheet, const std::string& sheetPath,
                                       FileList& list, const BackendTable& backends,
                                       UserPrompts* prompts);

}  // namespace quillo
