#include "backends/bass/AudioStream.h"

#include <algorithm>
#include <filesystem>

namespace quillo::audio {

uint64_t FileSizeOf(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? kNoFileSize : static_cast<uint64_t>(size);
}

double AudioStream::BytesToSeconds(uint64_t bytes) const {
  const int perFrame = BytesPerFrame();
  if (perFrame <= 0 || info_.freq <= 0) return 0.0;
  return static_cast<double>(bytes / static_cast<uint64_t>(perFrame)) / info_.freq;
}

size_t AudioStream::FramesToDecode(size_t bytes, uint64_t framesLeft) const {
  const int perFrame = BytesPerFrame();
  if (perFrame <= 0) return 0;
  return static_cast<size_t>(std::min<uint64_t>(bytes / static_cast<size_t>(perFrame), framesLeft));
}

int64_t AudioStream::GetData(void* buffer, size_t bytes) {
  const int perFrame = BytesPerFrame();
  if (perFrame <= 0) return kDataEnd;
  bytes -= bytes % static_cast<size_t>(perFrame);
  if (bytes == 0) return 0;
  const size_t got = Decode(static_cast<uint8_t*>(buffer), bytes);
  if (got == 0) return kDataEnd;
  position_ += got;
  return static_cast<int64_t>(got);
}

}  // namespace quillo::audio
