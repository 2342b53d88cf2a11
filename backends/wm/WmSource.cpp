#include "backends/wm/WmSource.h"

#include <algorithm>

#include "backends/ffmpeg/FfmpegTags.h"

extern "C" {
#include <libavutil/dict.h>
}

namespace quillo {

void WmSource::Close() {
  reader_.Close();
  open_ = false;
  noAudioStream_ = false;
  fold_ = ChannelFold();
  readIndex_ = 0;
  framesLeft_ = 0;
  delivered_ = 0;
  ResetState();
}

bool WmSource::Open(const std::string& path, int /*renderRate*/) {
  Close();
  if (!runtime_.IsLoaded()) return false;
  if (!reader_.Open(path)) {
    noAudioStream_ = reader_.NoAudioStream();
    return false;
  }
  AudioProperties properties =
      ReadAudioProperties(reader_.Input(), reader_.AudioStreamNumber() - 1);
  properties.sampleRate = reader_.OutputRate();
  properties.sourceChannels = reader_.OutputChannels();
  properties.channels = properties.sourceChannels < 2 ? 1 : 2;
  SetProperties(properties);
  // The duration in the stream's time units; without one, 0 (the progress
  // then stands still, as the duration is unknown).
  const int64_t duration = reader_.Input().duration;
  progressTotal_ =
      duration != AV_NOPTS_VALUE && duration > 0 ? static_cast<uint64_t>(duration) * 10 : 0;
  fold_.Configure(reader_.OutputLayout(), channels_);
  open_ = true;
  return true;
}

int WmSource::Read(int16_t* left, int16_t* right) {
  if (!open_ || left == nullptr) return 0;
  if (channels_ != 2) right = nullptr;
  const size_t stride = static_cast<size_t>(std::min(sourceChannels_, kMaxConvertedChannels));
  int n = 0;
  while (n < kMaxBlockFrames) {
    if (framesLeft_ == 0) {
      int64_t time = 0;
      if (!reader_.GetNextSample(sample_, framesLeft_, time)) break;
      progressPosition_ = static_cast<uint64_t>(time);
      readIndex_ = 0;
    }
    const int frames = std::min(framesLeft_, kMaxBlockFrames - n);
    fold_.Apply(sample_.data() + readIndex_, frames, left + n,
                right != nullptr ? right + n : nullptr);
    readIndex_ += static_cast<size_t>(frames) * stride;
    framesLeft_ -= frames;
    n += frames;
  }
  delivered_ += static_cast<uint64_t>(n);
  return n;
}

std::optional<EarlyEnd> WmSource::EndedEarly() {
  if (!open_) return std::nullopt;
  return reader_.EarlyEndAfter(delivered_);
}

bool WmSource::ReadTags(TagInfo& tags) {
  if (!open_) return false;
  const AVFormatContext& input = reader_.Input();
  bool found = ReadFfmpegTags(input, &reader_.Stream(), tags);
  // FFmpeg keeps the year under its attribute name; files of other writers
  // may hold a "date" instead, which ReadFfmpegTags has already taken.
  const AVDictionaryEntry* year = av_dict_get(input.metadata, "WM/Year", nullptr, 0);
  const int number = year != nullptr ? TrackNumberFromText(year->value) : 0;
  if (number > 0) {
    tags.year = std::to_string(number);
    found = true;
  }
  return found;
}

}  // namespace quillo
