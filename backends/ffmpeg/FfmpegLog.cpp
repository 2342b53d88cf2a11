#include "backends/ffmpeg/FfmpegLog.h"

#include <cstdlib>

extern "C" {
#include <libavutil/log.h>
}

namespace quillo {

void QuietFfmpegLog() {
  // QUILLO_FFMPEG_LOG=1 keeps FFmpeg's error messages, for diagnosing a file.
  const char* keep = std::getenv("QUILLO_FFMPEG_LOG");
  av_log_set_level(keep != nullptr && *keep == '1' ? AV_LOG_ERROR : AV_LOG_FATAL);
}

}  // namespace quillo
