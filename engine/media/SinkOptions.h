#pragma once

#include <cstdint>
#include <string>

#include "engine/media/WindowsMediaFormat.h"

namespace quillo {

// Codec options handed to a sink before Open. Which fields a sink reads
// depends on the sink.
struct SinkOptions {
  // Framework sink: the muxer's short name and the stored codec id of the row.
  std::string containerName;
  int32_t codecId = 0;

  // AMR sink: 1 = narrow band, 0 = wide band; DTX on/off; the narrow-band
  // mode (0..7) and the wide-band mode (0..8).
  int32_t narrowBand = 0;
  int32_t dtx = 0;
  int32_t amrMode = 0;
  int32_t wideBandMode = 0;

  // Windows Media sink: the format the runtime picked from its list.
  WindowsMediaFormat windowsMediaFormat;
};

}  // namespace quillo
