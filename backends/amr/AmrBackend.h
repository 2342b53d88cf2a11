#pragma once

#include <memory>

#include "engine/MediaSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeAmrSource();

}  // namespace quillo
