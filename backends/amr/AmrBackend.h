#pragma once

#include <memory>

#include "engine/MediaSink.h"
#include "engine/MediaSource.h"

namespace quillo {

// The ".amr"/".awb" reader and the AMR and AWB rows' writer.
std::unique_ptr<MediaSource> MakeAmrSource();
std::unique_ptr<MediaSink> MakeAmrSink();

}  // namespace quillo
