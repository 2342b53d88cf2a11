#include "engine/media/FileList.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace quillo {

std::string FileListKey(const std::string& path) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
  if (ec) return std::filesystem::absolute(path, ec).lexically_normal().string();
  return canonical.string();
}

bool SameFile(const std::string& a, const std::string& b) {
  if (FileListKey(a) == FileListKey(b)) return true;
  struct stat first {};
  struct stat second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

int MemoryFileList::Append(FileItem item, const std::string& key) {
  items_.push_back(std::move(item));
  keys_.emplace(key, items_.size() - 1);
  return static_cast<int>(items_.size() - 1);
}

}  // namespace quillo
