#include "backends/files/FilesBackend.h"

#include "backends/files/AiffSource.h"
#include "backends/files/AuSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeAuSource() { return std::make_unique<AuSource>(); }

std::unique_ptr<MediaSource> MakeAiffSource() { return std::make_unique<AiffSource>(); }

}  // namespace quillo
