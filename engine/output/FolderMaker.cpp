#include "engine/output/FolderMaker.h"

#include <filesystem>
#include <system_error>

namespace quillo {

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  return !ec && fs::is_directory(path, ec);
}

}  // namespace quillo
