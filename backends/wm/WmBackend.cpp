#include "backends/wm/WmBackend.h"

#include "engine/UnavailableSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeWmSource() { return std::make_unique<UnavailableSource>(); }

}  // namespace quillo
