#include "backends/ffmpeg/FfmpegError.h"

extern "C" {
#include <libavutil/error.h>
}

namespace quillo {

std::string FfmpegErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

}  // namespace quillo
