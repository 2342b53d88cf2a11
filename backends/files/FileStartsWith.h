#pragma once

#include <cstddef>
#include <string>

namespace quillo {

// True when the file at `path` begins with the `count` bytes at `expected`;
// false when it is shorter, differs, or cannot be opened.
bool FileStartsWith(const void* expected, size_t count, const std::string& path);

}  // namespace quillo
