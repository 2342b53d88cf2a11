#pragma once

#include <string>

#include "engine/FileItem.h"

namespace quillo {

// The cells of the file list, as the list shows them.
std::string DurationCell(uint32_t seconds);  // "00:59", "1:02:03", empty for 0
std::string BitRateCell(int kbps);           // "128 kbps", empty for 0
std::string SampleRateCell(int hz);          // "44100 Hz", empty for 0
std::string ChannelsCell(int channels);      // "Mono", "Stereo", "5.1", ...

// The row's name: the source's file name, or a cue track's "07 Title".
std::string RowName(const FileItem& item);
// The name a row's output and title derive from: the source's file name, or
// a cue track's name with its image's extension ("07 Title.flac").
std::string RowFileName(const FileItem& item);

}  // namespace quillo
