#pragma once

#include <memory>

#include "backends/ffmpeg/FfmpegPtr.h"

namespace quillo {

// An output context together with the file it writes to: the owner closes
// the file (without a trailer) and frees the context with its streams and
// metadata.
struct OutputContextDeleter {
  void operator()(AVFormatContext* context) const {
    if (context->pb != nullptr && (context->oformat->flags & AVFMT_NOFILE) == 0)
      avio_closep(&context->pb);
    avformat_free_context(context);
  }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

}  // namespace quillo
