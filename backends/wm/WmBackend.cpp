#include "backends/wm/WmBackend.h"

#include "backends/wm/WmSink.h"
#include "backends/wm/WmSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeWmSource(const WindowsMediaRuntime& runtime) {
  return std::make_unique<WmSource>(runtime);
}

std::unique_ptr<MediaSink> MakeWmSink(const WindowsMediaRuntime& runtime) {
  return std::make_unique<WmSink>(runtime);
}

}  // namespace quillo
