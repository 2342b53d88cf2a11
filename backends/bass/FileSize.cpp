#include "backends/bass/FileSize.h"

#include <filesystem>

namespace quillo::audio {

uint64_t FileSizeOf(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? ~uint64_t{0} : static_cast<uint64_t>(size);
}

}  // namespace quillo::audio
