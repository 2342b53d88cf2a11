#include "engine/media/ByteReader.h"

#include <sys/stat.h>

#include <algorithm>

#include "base/FileHandle.h"
#include "base/RegularFile.h"

namespace quillo {

std::vector<uint8_t> ReadFileHead(const std::string& path, uint64_t offset, size_t bytes) {
  const FileHandle file = OpenFile(path, "rb");
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

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  if (!RegularFileProblem(path).empty()) return {};
  const FileHandle file = OpenFile(path, "rb");
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  const long size = std::ftell(file.get());
  if (size <= 0 || static_cast<uint64_t>(size) > maxBytes ||
      std::fseek(file.get(), 0, SEEK_SET) != 0)
    return {};
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (std::fread(data.data(), 1, data.size(), file.get()) != data.size()) return {};
  return data;
}

}  // namespace quillo
