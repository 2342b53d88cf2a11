// Feeds arbitrary bytes to the AMR reader as a file (the contract is in
// SourceFuzz.h).
#include "backends/amr/AmrSource.h"
#include "fuzz/SourceFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quillo::AmrSource source;
  return quillo::fuzz::FeedSource(source, data, size);
}
