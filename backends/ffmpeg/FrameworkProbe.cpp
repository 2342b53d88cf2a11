#include "backends/ffmpeg/FrameworkProbe.h"

#include "backends/ffmpeg/CodecIdMap.h"
#include "backends/ffmpeg/FfmpegInput.h"
#include "backends/ffmpeg/FfmpegTags.h"

namespace quillo {

bool FrameworkSeesPcm(const std::string& path) {
  const InputContextPtr input = OpenInputFile(path);
  if (!input) return false;
  const int index = FindAudioStream(*input, false);
  if (index < 0) return false;
  return IsPcmCodec(input->streams[index]->codecpar->codec_id);
}

bool FrameworkReadsTags(const std::string& path, TagInfo& tags) {
  const InputContextPtr input = OpenInputFile(path);
  if (!input) return false;
  const int index = FindAudioStream(*input, false);
  return ReadFfmpegTags(*input, index < 0 ? nullptr : input->streams[index], tags);
}

}  // namespace quillo
