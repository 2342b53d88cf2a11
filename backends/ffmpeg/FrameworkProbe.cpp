#include "backends/ffmpeg/FrameworkProbe.h"

#include "backends/ffmpeg/FfmpegInput.h"

namespace quillo {

bool FrameworkSeesPcm(const std::string& path) {
  const InputContextPtr input = OpenInputFile(path);
  if (!input) return false;
  const int index = FindAudioStream(*input, false);
  if (index < 0) return false;
  // FFmpeg numbers its PCM codecs in one block, ahead of the ADPCM codecs.
  const AVCodecID id = input->streams[index]->codecpar->codec_id;
  return id >= AV_CODEC_ID_PCM_S16LE && id < AV_CODEC_ID_ADPCM_IMA_QT;
}

}  // namespace quillo
