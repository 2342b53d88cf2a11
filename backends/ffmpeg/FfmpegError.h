#pragma once

#include <string>

namespace quillo {

// FFmpeg's description of one of its error codes (an AVERROR value), such as
// "No space left on device" or "File too large".
std::string FfmpegErrorText(int code);

}  // namespace quillo
