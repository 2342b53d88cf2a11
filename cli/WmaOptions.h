#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/media/WindowsMediaRuntime.h"
#include "settings/ConversionSettings.h"

namespace quillo {

// For a Windows Media row (WMA, WMV, ASF), applies the encoding options it
// reads from its own settings (auto, rate, bitrate, channels), in order, to
// the WMA settings: --auto lets the program choose; --rate, --bitrate and
// --channels name one of the writer's encoding formats as the WMA page
// offers them (the bit rate counts in whole kbit/s), the stored choice
// filling in what is not given. False with `error` set for a bad value or a
// choice that is not in the runtime's list (the error lists the formats).
// Other rows are left alone.
bool ApplyWmaOptions(const std::vector<std::pair<std::string, std::string>>& options,
                     const OutputFormat& row, ConversionSettings& settings,
                     WindowsMediaRuntime* runtime, std::string& error);

}  // namespace quillo
