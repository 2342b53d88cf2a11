#pragma once

// The contract every source fuzzer checks: arbitrary bytes written to a file
// either do not open, or read to the end without fault in blocks that keep
// the source contract (one or two channels, at most kMaxBlockFrames frames,
// progress within its total). A breach aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FileHandle.h"
#include "engine/media/MediaSource.h"

namespace quillo::fuzz {

// One scratch file for the whole run, created exclusively and removed at exit.
inline const std::string& ScratchPath() {
  static const std::string path = [] {
    std::string name = "/tmp/quillo-fuzz-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) std::abort();
    close(fd);
    std::atexit([] { std::remove(ScratchPath().c_str()); });
    return name;
  }();
  return path;
}

// Replaces the scratch file's contents with the input; false when it could
// not be written (the input is then passed over).
inline bool WriteScratch(const uint8_t* data, size_t size) {
  FileHandle file = OpenFile(ScratchPath(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(data, 1, size, file.get()) == size;
  return std::fclose(file.release()) == 0 && written;
}

// Reads an opened source to its end through `read` (Read or ReadWide) into
// blocks of `Sample`, checking the contract on every block.
template <typename Sample, typename ReadBlock>
void ReadToEnd(MediaSource& source, int channels, ReadBlock read) {
  std::vector<Sample> left(kMaxBlockFrames);
  std::vector<Sample> right(kMaxBlockFrames);
  for (int frames; (frames = read(left.data(), channels == 2 ? right.data() : nullptr)) > 0;)
    if (frames > kMaxBlockFrames || source.GetProgressPosition() > source.GetProgressTotal())
      std::abort();
}

// As the engine reads: a wide source through ReadWide only.
inline int FeedSource(MediaSource& source, const uint8_t* data, size_t size) {
  if (!WriteScratch(data, size)) return 0;
  if (!source.Open(ScratchPath(), 44100)) return 0;
  const int channels = source.GetChannels();
  if (channels != 1 && channels != 2) std::abort();
  if (source.GetSampleFormat().IsWide())
    ReadToEnd<double>(source, channels,
                      [&source](double* l, double* r) { return source.ReadWide(l, r); });
  else
    ReadToEnd<int16_t>(source, channels,
                       [&source](int16_t* l, int16_t* r) { return source.Read(l, r); });
  source.Close();
  return 0;
}

}  // namespace quillo::fuzz
