#include "tests/backends/ffmpeg/SinkTestSupport.h"

#include <algorithm>
#include <cmath>

#include "backends/ffmpeg/FrameworkSink.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {

void Configure(MediaSink& sink, const SinkSetup& setup) {
  sink.SetPath(setup.path);
  sink.SetSampleRate(setup.sampleRate);
  sink.SetChannels(setup.channels);
  sink.SetBitRate(setup.bitRate);
  SinkOptions options;
  options.containerName = setup.container;
  options.codecId = setup.codecId;
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

double CrossingsPerSecond(const std::vector<int16_t>& interleaved, int channels, int rate) {
  const size_t frames = interleaved.size() / channels;
  const size_t begin = frames / 4, end = frames * 3 / 4;
  int crossings = 0;
  for (size_t i = begin + 1; i < end; ++i) {
    const int a = interleaved[(i - 1) * channels], b = interleaved[i * channels];
    if ((a < 0) != (b < 0)) ++crossings;
  }
  return end > begin ? crossings * static_cast<double>(rate) / static_cast<double>(end - begin)
                     : 0.0;
}

double MiddleRms(const std::vector<int16_t>& interleaved, int channels) {
  const size_t frames = interleaved.size() / channels;
  const size_t begin = frames / 4, end = frames * 3 / 4;
  double sum = 0;
  for (size_t i = begin; i < end; ++i) sum += std::pow(interleaved[i * channels], 2.0);
  return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0.0;
}

std::string ProbeEntry(const std::string& path, const std::string& entries,
                       const std::string& key) {
  const std::string probe =
      Capture("ffprobe -v error -select_streams a:0 -show_entries " + entries +
              " -of default=noprint_wrappers=1 " + ShellQuote(path));
  return FfprobeField(probe, key);
}

}  // namespace quillo::test
