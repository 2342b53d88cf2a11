#include "backends/ffmpeg/FrameworkProbe.h"

#include "backends/ffmpeg/CodecIdMap.h"
#include "backends/ffmpeg/FfmpegInput.h"

namespace quillo {

bool FrameworkSeesPcm(const std::string& path) {
  const InputContextPtr input = OpenInputFile(path);
  if (!input) return false;
  const int index = FindAudioStream(*input, false);
  if (index < 0) return false;
  return IsPcmCodec(input->streams[index]->codecpar->codec_id);
}

}  // namespace quillo
