#include "engine/RegularFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace quillo {

std::string RegularFileProblem(const std::string& path) {
  if (path.empty()) return std::strerror(ENOENT);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
  if (!S_ISREG(info.st_mode)) return "Not a regular file";
  return {};
}

}  // namespace quillo
