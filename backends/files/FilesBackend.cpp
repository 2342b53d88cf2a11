#include "backends/files/FilesBackend.h"

#include "backends/files/AuSource.h"
#include "engine/UnavailableSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeAuSource() { return std::make_unique<AuSource>(); }

std::unique_ptr<MediaSource> MakeAiffSource() { return std::make_unique<UnavailableSource>(); }

}  // namespace quillo
