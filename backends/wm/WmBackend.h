#pragma once

#include <memory>

#include "engine/media/MediaSink.h"
#include "engine/media/MediaSource.h"
#include "engine/media/WindowsMediaRuntime.h"

namespace quillo {

// The Windows Media source and sink; both work only once `runtime` has
// loaded, and must not outlive it.
std::unique_ptr<MediaSource> MakeWmSource(const WindowsMediaRuntime& runtime);
std::unique_ptr<MediaSink> MakeWmSink(const WindowsMediaRuntime& runtime);

}  // namespace quillo
