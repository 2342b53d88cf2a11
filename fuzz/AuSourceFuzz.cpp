// Feeds arbitrary bytes to the AU reader as a file (the contract is in
// SourceFuzz.h).
#include "backends/files/AuSource.h"
#include "fuzz/SourceFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quillo::AuSource source;
  return quillo::fuzz::FeedSource(source, data, size);
}
