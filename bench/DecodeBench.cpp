// Decodes one file to its end through one of the decoding back-ends, as a
// conversion pass would, and prints the frame count and a checksum of the
// samples.
//
//   quillo_bench_decode framework|library|ogg|aiff FILE
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "backends/InstalledBackends.h"
#include "backends/bass/BassSource.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "backends/ffmpeg/OggVorbisSource.h"
#include "backends/files/AiffSource.h"

int main(int argc, char** argv) {
  quillo::InstalledBackends backends;
  std::unique_ptr<quillo::MediaSource> source;
  if (argc == 3 && std::strcmp(argv[1], "framework") == 0)
    source = std::make_unique<quillo::FrameworkSource>();
  else if (argc == 3 && std::strcmp(argv[1], "library") == 0)
    source = std::make_unique<quillo::BassSource>(backends.audioLibrary());
  else if (argc == 3 && std::strcmp(argv[1], "ogg") == 0)
    source = std::make_unique<quillo::OggVorbisSource>();
  else if (argc == 3 && std::strcmp(argv[1], "aiff") == 0)
    source = std::make_unique<quillo::AiffSource>();
  if (!source) {
    std::fprintf(stderr, "usage: %s framework|library|ogg|aiff FILE\n", argv[0]);
    return 2;
  }
  if (!source->Open(argv[2], 44100)) {
    std::fprintf(stderr, "cannot decode %s\n", argv[2]);
    return 1;
  }
  int16_t left[quillo::kMaxBlockFrames];
  int16_t right[quillo::kMaxBlockFrames];
  int16_t* rightBuffer = source->GetChannels() == 2 ? right : nullptr;
  uint64_t frames = 0;
  uint32_t checksum = 0;
  for (int n; (n = source->Read(left, rightBuffer)) > 0;) {
    frames += static_cast<uint64_t>(n);
    checksum = checksum * 31u + static_cast<uint16_t>(left[n - 1]);
  }
  std::printf("%llu frames, %d Hz, %d channels, checksum %08x\n",
              static_cast<unsigned long long>(frames), source->GetSampleRate(),
              source->GetChannels(), checksum);
  return 0;
}
