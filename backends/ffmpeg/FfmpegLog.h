#pragma once

namespace quillo {

// Lowers FFmpeg's console log to fatal messages, once per process. Broken or
// unusual input makes the demuxers and decoders report every damaged packet;
// Quillo reports failures through its own status texts instead.
void QuietFfmpegLog();

}  // namespace quillo
