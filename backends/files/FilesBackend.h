#pragma once

#include <memory>

#include "engine/media/MediaSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeAuSource();
std::unique_ptr<MediaSource> MakeAiffSource();

}  // namespace quillo
