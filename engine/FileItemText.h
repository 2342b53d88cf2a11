#pragma once

#include <string>

#include "engine/FileItem.h"

namespace quillo {

// The cells of the file list, as the list shows them.
std::string DurationCell(uint32_t seconds);            // "00:59", "1:02:03", empty for 0
std::string BitRateCell(int kbps);                     // "128 kbps", empty for 0
std::string SampleRateCell(int hz);                    // "44100 Hz", empty for 0
std::string ChannelsCell(int channels);                // "Mono", "Stereo", "5.1", ...

}  // namespace quillo
