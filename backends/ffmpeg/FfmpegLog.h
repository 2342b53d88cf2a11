#pragma once

namespace quillo {

// Lowers FFmpeg's console log to fatal messages. Broken or unusual input
// makes the demuxers and decoders report every damaged packet; Quillo reports
// failures through its own status texts instead. Called once where the
// back-ends are set up, before anything is decoded.
void QuietFfmpegLog();

}  // namespace quillo
