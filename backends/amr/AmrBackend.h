#pragma once

#include <memory>

#include "engine/media/MediaSink.h"
#include "engine/media/MediaSource.h"

namespace quillo {

// The ".amr"/".awb" reader and the AMR and AWB rows' writer.
std::unique_ptr<MediaSource> MakeAmrSource();
std::unique_ptr<MediaSink> MakeAmrSink();

}  // namespace quillo
