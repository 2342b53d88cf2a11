// Feeds arbitrary bytes to the PCM container stream as a file, the path WAV
// files take (with the scan for the "fact" chunk that ends block-coded data).
// Whatever opens reads to its end in whole frames, never past the length it
// announced; the length does not depend on how much of the file the caller
// had read ahead to recognise it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "backends/bass/SndfileStream.h"
#include "engine/media/ByteReader.h"
#include "fuzz/SourceFuzz.h"

namespace {

constexpr size_t kHeadBytes = 64 * 1024;  // what the audio library reads ahead
constexpr size_t kShortHead = 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using quillo::audio::SndfileStream;
  if (!quillo::fuzz::WriteScratch(data, size)) return 0;
  const std::string& path = quillo::fuzz::ScratchPath();
  const std::vector<uint8_t> head = quillo::ReadFileHead(path, 0, kHeadBytes);
  const std::unique_ptr<quillo::audio::AudioStream> stream = SndfileStream::Open(path, head);
  if (!stream) return 0;

  const std::vector<uint8_t> shortHead(head.begin(),
                                       head.begin() + std::min(head.size(), kShortHead));
  const auto again = SndfileStream::Open(path, shortHead);
  if (!again || again->Length() != stream->Length()) std::abort();

  const int perFrame = stream->BytesPerFrame();
  if (perFrame <= 0 || stream->Length() % static_cast<uint64_t>(perFrame) != 0) std::abort();
  std::vector<uint8_t> buffer(static_cast<size_t>(perFrame) * 1152);
  for (int64_t got;
       (got = stream->GetData(buffer.data(), buffer.size())) != quillo::audio::kDataEnd;) {
    if (got <= 0 || got % perFrame != 0 || stream->Position() > stream->Length()) std::abort();
  }
  return 0;
}
