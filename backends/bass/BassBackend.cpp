#include "backends/bass/BassBackend.h"

#include "engine/UnavailableSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeBassSource() { return std::make_unique<UnavailableSource>(); }

}  // namespace quillo
