#include "backends/files/FileStartsWith.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/FileHandle.h"
#include "base/RegularFile.h"

namespace quillo {

bool FileStartsWith(const void* expected, size_t count, const std::string& path) {
  // Reading a FIFO or a device could wait for ever.
  if (!RegularFileProblem(path).empty()) return false;
  const FileHandle file = OpenFile(path, "rb");
  if (!file) return false;
  std::vector<unsigned char> head(count);
  if (count > 0 && std::fread(head.data(), 1, count, file.get()) != count) return false;
  return count == 0 || std::memcmp(head.data(), expected, count) == 0;
}

}  // namespace quillo
