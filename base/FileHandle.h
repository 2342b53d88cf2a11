#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace quillo {

// The owner of a C stream: closes it when it goes out of scope. A writer
// whose close result matters closes it itself, std::fclose(file.release()),
// and acts on the result.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` with fopen's `mode`; null when it cannot be opened.
inline FileHandle OpenFile(const std::string& path, const char* mode) {
  return FileHandle(std::fopen(path.c_str(), mode));
}

}  // namespace quillo
