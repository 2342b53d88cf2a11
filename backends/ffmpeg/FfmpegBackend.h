#pragma once

#include <memory>

#include "engine/media/MediaSource.h"

namespace quillo {

std::unique_ptr<MediaSource> MakeFrameworkSource(bool fullDecoding);
std::unique_ptr<MediaSource> MakeOggVorbisSource();

}  // namespace quillo
