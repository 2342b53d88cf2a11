#pragma once

#include <memory>

#include "engine/MediaSource.h"
#include "engine/WindowsMediaRuntime.h"

namespace quillo {

// The Windows Media source; it works only once `runtime` has loaded, and
// must not outlive it.
std::unique_ptr<MediaSource> MakeWmSource(const WindowsMediaRuntime& runtime);

}  // namespace quillo
