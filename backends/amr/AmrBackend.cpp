#include "backends/amr/AmrBackend.h"

#include "engine/UnavailableSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeAmrSource() { return std::make_unique<UnavailableSource>(); }

}  // namespace quillo
