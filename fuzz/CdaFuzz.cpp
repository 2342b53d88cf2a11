// Feeds arbitrary bytes to the ".cda" stub parser, and as text to the mount
// table reader that finds the drive holding it: a stub that parses names a
// track of an audio CD, and the device found is one the table names.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "backends/bass/CdTrack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto header = quillo::audio::ParseCdaHeader(std::span<const uint8_t>(data, size));
  if (header &&
      (header->track < quillo::audio::kFirstCdTrack || header->track > quillo::audio::kLastCdTrack))
    std::abort();

  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const char* path : {"/", "/media/disc/Track01.cda", "/media/disc"}) {
    const std::string device = quillo::audio::MountSourceFor(text, path);
    // Escapes only ever shorten what the table holds.
    if (device.size() > size) std::abort();
  }
  return 0;
}
