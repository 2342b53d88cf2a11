// Feeds arbitrary bytes to the AIFF reader as a file (the contract is in
// SourceFuzz.h).
#include "backends/files/AiffSource.h"
#include "fuzz/SourceFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quillo::AiffSource source;
  return quillo::fuzz::FeedSource(source, data, size);
}
