#pragma once

#include <cstdint>

namespace quillo {

// The coded option values. Their numbers are what the settings file stores;
// a stored value outside the list is kept as it is.

enum class OutputFolderMode : int32_t {
  SameAsSource = 199,
  SpecificFolder = 399,
};

enum class TargetExistsPolicy : int32_t {
  Rename = 11,  // add a number at the end of the file name
  Overwrite = 22,
  Skip = 33,
};

// How two channels become one.
enum class MonoMixMode : int32_t {
  Average = 0,  // (L+R)/2
  LeftOnly = 1,
  RightOnly = 2,
};

enum class VolumeMode : int32_t {
  Normalize = 0,  // every output peaks at full scale
  Manual = 1,     // scaled by the Volume percentage
  Keep = 2,
  Loudness = 3,  // every output at the loudness target (EBU R128), true peak at most -1 dBTP
};

enum class TagMode : int32_t {
  None = 0,
  Custom = 1,      // the texts of TagSettings
  FromSource = 2,  // the source file's own tags
};

enum class TrackNumberMode : int32_t {
  None = 0,
  ListPosition = 1,  // the file's sequence number in the run
  Custom = 2,        // TagSettings::customTrackNum
};

enum class AmrBand : int32_t {
  Narrow = 0,  // 8000 Hz
  Wide = 1,    // 16000 Hz
};

}  // namespace quillo
