// Feeds arbitrary bytes to the AMR reader as a file: whatever opens must read
// to the end without fault, in blocks that keep the source contract.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backends/amr/AmrSource.h"

namespace {

// One scratch file for the whole run, created exclusively and removed at exit.
const std::string& ScratchPath() {
  static const std::string path = [] {
    std::string name = "/tmp/quillo-amr-fuzz-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) std::abort();
    close(fd);
    std::atexit([] { std::remove(ScratchPath().c_str()); });
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = ScratchPath();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  quillo::AmrSource source;
  if (!source.Open(path, 44100)) return 0;
  if (source.GetChannels() != 1) std::abort();
  std::vector<int16_t> left(quillo::kMaxBlockFrames);
  for (int frames; (frames = source.Read(left.data(), nullptr)) > 0;) {
    if (frames > quillo::kMaxBlockFrames ||
        source.GetProgressPosition() > source.GetProgressTotal())
      std::abort();
  }
  source.Close();
  return 0;
}
