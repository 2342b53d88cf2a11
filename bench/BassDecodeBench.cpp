// Decodes one file through BassSource to its end, as a conversion pass
// would, and prints the frame count and a checksum of the samples.
//
//   quillo_bench_bass_decode FILE
#include <cstdint>
#include <cstdio>

#include "backends/bass/BassSource.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  quillo::BassSource source(quillo::audio::SharedAudioLibrary());
  if (!source.Open(argv[1], 44100)) {
    std::fprintf(stderr, "cannot decode %s\n", argv[1]);
    return 1;
  }
  int16_t left[quillo::kMaxBlockFrames];
  int16_t right[quillo::kMaxBlockFrames];
  int16_t* rightBuffer = source.GetChannels() == 2 ? right : nullptr;
  uint64_t frames = 0;
  uint32_t checksum = 0;
  for (int n; (n = source.Read(left, rightBuffer)) > 0;) {
    frames += static_cast<uint64_t>(n);
    checksum = checksum * 31u + static_cast<uint16_t>(left[n - 1]);
  }
  std::printf("%llu frames, %d Hz, %d channels, checksum %08x\n",
              static_cast<unsigned long long>(frames), source.GetSampleRate(), source.GetChannels(),
              checksum);
  return 0;
}
