// Feeds arbitrary bytes to the AIFF reader as a file: whatever opens must
// read to the end without fault, and the blocks must keep the source
// contract.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backends/files/AiffSource.h"

namespace {

// One scratch file for the whole run, created exclusively and removed at exit.
const std::string& ScratchPath() {
  static const std::string path = [] {
    std::string name = "/tmp/quillo-aiff-fuzz-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) {
      std::abort();
    }
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
  if (file == nullptr) {
    return 0;
  }
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  quillo::AiffSource source;
  if (!source.Open(path, 44100)) {
    return 0;
  }
  const int channels = source.GetChannels();
  if (channels != 1 && channels != 2) {
    std::abort();
  }
  std::vector<int16_t> left(quillo::kMaxBlockFrames);
  std::vector<int16_t> right(quillo::kMaxBlockFrames);
  for (;;) {
    const int frames = source.Read(left.data(), channels == 2 ? right.data() : nullptr);
    if (frames <= 0) {
      break;
    }
    if (frames > quillo::kMaxBlockFrames ||
        source.GetProgressPosition() > source.GetProgressTotal()) {
      std::abort();
    }
  }
  source.Close();
  return 0;
}
