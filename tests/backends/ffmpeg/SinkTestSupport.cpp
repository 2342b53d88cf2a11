#include "tests/backends/ffmpeg/SinkTestSupport.h"

#include <algorithm>

#include "backends/ffmpeg/FrameworkSink.h"

namespace quillo::test {

void Configure(MediaSink& sink, const SinkSetup& setup) {
  sink.SetPath(setup.path);
  sink.SetSampleRate(setup.sampleRate);
  sink.SetChannels(setup.channels);
  sink.SetBitRate(setup.bitRate);
  SinkOptions options;
  options.containerName = setup.container;
  options.codecId = setup.codecId;
  options.variableBitRate = setup.variableBitRate;
  options.compressionLevel = setup.compressionLevel;
  sink.SetCodecOptions(options);
}

bool WriteAll(MediaSink& sink, const std::vector<int16_t>& interleaved, int channels,
              int blockFrames) {
  const size_t frames = interleaved.size() / channels;
  std::vector<int16_t> left(blockFrames), right(blockFrames);
  bool ok = true;
  for (size_t start = 0; start < frames; start += blockFrames) {
    const int count = static_cast<int>(std::min<size_t>(blockFrames, frames - start));
    for (int i = 0; i < count; ++i) {
      left[i] = interleaved[(start + i) * channels];
      right[i] = interleaved[(start + i) * channels + channels - 1];
    }
    ok = sink.Write(left.data(), channels == 2 ? right.data() : nullptr, count) && ok;
  }
  return ok;
}

bool EncodeWithSink(const SinkSetup& setup, const std::vector<int16_t>& interleaved,
                    int blockFrames) {
  auto sink = MakeFrameworkSink();
  Configure(*sink, setup);
  if (!sink->Open()) return false;
  const bool written = WriteAll(*sink, interleaved, setup.channels, blockFrames);
  sink->Close();
  return written;
}

}  // namespace quillo::test
