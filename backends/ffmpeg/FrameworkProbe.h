#pragma once

#include <string>

#include "engine/media/TagInfo.h"

namespace quillo {

// True when FFmpeg opens `path` and the codec of its first audio stream is a
// PCM codec; false otherwise, also when the file does not open. Tells a RIFF
// file that holds raw PCM from one whose data FFmpeg reads as a coded
// bitstream (DTS in WAV, for example), which it decodes itself.
bool FrameworkSeesPcm(const std::string& path);

// The tags FFmpeg reads in `path`, as the framework source reports them;
// false when the file does not open or has none.
bool FrameworkReadsTags(const std::string& path, TagInfo& tags);

}  // namespace quillo
