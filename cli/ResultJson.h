#pragma once

#include <string>

#include "engine/Conversion.h"
#include "engine/FileItem.h"
#include "engine/RunResult.h"

namespace quillo {

// The JSON Lines of --json: one object per file with the same members for
// probe, convert and join (input, output, status, state, volume, duration,
// rate, channels, bitrate, seconds, reason, fallback), null where a value is
// unknown or does not apply.

// A file of a conversion or a join. `cancelled` tells how a file the run
// never reached ended: cancelled with the run, or failed with it.
std::string ConversionJsonLine(const FileItem& item, const FileResult& result, bool cancelled);

// A file that probe read (`item` null when it was not added).
std::string ProbeJsonLine(const std::string& path, const FileItem* item, const ProbeResult& result,
                          double seconds);

}  // namespace quillo
