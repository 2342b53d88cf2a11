#pragma once

#include <cstdint>
#include <string>

namespace quillo::audio {

// The size of the file at `path` in bytes, or ~0 when it cannot be read.
uint64_t FileSizeOf(const std::string& path);

}  // namespace quillo::audio
