// Feeds raw 16-bit stereo PCM (little-endian, interleaved) through
// FrameworkSink in the engine's 1152-frame planar blocks.
//
//   quillo_bench_encode INPUT.raw OUTPUT [container codec-id bit-rate rate]
//
// Defaults: MP3 (libmp3lame) at 128 kbit/s, 44100 Hz.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "backends/ffmpeg/FrameworkSink.h"
#include "base/FileHandle.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s INPUT.raw OUTPUT [container codec-id bit-rate rate]\n",
                 argv[0]);
    return 2;
  }
  const std::string container = argc > 3 ? argv[3] : "mp3";
  const int codecId = argc > 4 ? static_cast<int>(std::strtol(argv[4], nullptr, 0)) : 0x15001;
  const int bitRate = argc > 5 ? std::atoi(argv[5]) : 128000;
  const int rate = argc > 6 ? std::atoi(argv[6]) : 44100;

  const quillo::FileHandle input = quillo::OpenFile(argv[1], "rb");
  if (!input) {
    std::perror(argv[1]);
    return 1;
  }
  auto sink = quillo::MakeFrameworkSink();
  sink->SetPath(argv[2]);
  sink->SetSampleRate(rate);
  sink->SetChannels(2);
  sink->SetBitRate(bitRate);
  quillo::SinkOptions options;
  options.containerName = container;
  options.codecId = codecId;
  sink->SetCodecOptions(options);
  if (!sink->Open()) {
    std::fprintf(stderr, "cannot open the sink for %s\n", argv[2]);
    return 1;
  }

  constexpr int kBlock = 1152;
  std::vector<int16_t> interleaved(2 * kBlock), left(kBlock), right(kBlock);
  size_t frames;
  while ((frames = std::fread(interleaved.data(), 4, kBlock, input.get())) > 0) {
    for (size_t i = 0; i < frames; ++i) {
      left[i] = interleaved[2 * i];
      right[i] = interleaved[2 * i + 1];
    }
    sink->Write(left.data(), right.data(), static_cast<int>(frames));
  }
  sink->Close();
  return 0;
}
