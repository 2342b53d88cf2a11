#include "engine/media/ByteReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace quillo {

std::vector<uint8_t> ReadFileHead(const std::string& path, uint64_t offset, size_t bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  struct stat info {};
  if (!file || fstat(fileno(file.get()), &info) != 0) return {};
  const auto size = static_cast<uint64_t>(info.st_size);
  if (S_ISREG(info.st_mode)) {
    if (offset >= size) return {};
    bytes = static_cast<size_t>(std::min<uint64_t>(bytes, size - offset));
  }
  if (fseeko(file.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return {};
  std::vector<uint8_t> head(bytes);
  head.resize(std::fread(head.data(), 1, bytes, file.get()));
  return head;
}

}  // namespace quillo
