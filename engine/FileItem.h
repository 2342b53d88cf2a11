#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/cue/CueTrack.h"
#include "engine/media/SampleFormat.h"
#include "engine/media/SourceKind.h"

namespace quillo {

// One row of the file list: the source and the properties probed when it
// was added.
struct FileItem {
  std::string path;
  int channels = 0;           // 0 when unknown
  int sampleRate = 0;         // Hz, 0 when unknown
  int bitRate = 0;            // kbit/s, 0 when unknown
  uint32_t duration = 0;      // whole seconds, 0 when unknown
  SampleFormat sampleFormat;  // the resolution of the samples, 16-bit when unknown
  SourceKind sourceKind = SourceKind::Other;
  std::string outputPath;  // empty until a conversion produced one
  // A track of a cue sheet: `path` is then its image, and the row converts
  // only the track's part of it, named and tagged as the track.
  std::optional<CueTrack> cueTrack;
};

}  // namespace quillo
