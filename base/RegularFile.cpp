#include "base/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quillo {

std::string RegularFileProblem(const std::string& path) {
  if (path.empty()) return std::strerror(ENOENT);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(info.st_mode)) return "Not a regular file";
  // A file we may not read would fail in every decoder alike; the system's
  // reason ("Permission denied") is what the user needs.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  close(fd);
  return {};
}

FileHandle OpenRegularFile(const std::string& path, uint64_t& size) {
  if (!RegularFileProblem(path).empty()) return nullptr;
  FileHandle file = OpenFile(path, "rb");
  struct stat info {};
  if (!file || fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  size = static_cast<uint64_t>(info.st_size);
  return file;
}

}  // namespace quillo
