#include "backends/amr/AmrBackend.h"

#include "backends/amr/AmrSink.h"
#include "backends/amr/AmrSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeAmrSource() { return std::make_unique<AmrSource>(); }

std::unique_ptr<MediaSink> MakeAmrSink() { return std::make_unique<AmrSink>(); }

}  // namespace quillo
