#pragma once

#include <string>

#include "backends/ffmpeg/FfmpegPtr.h"
#include "engine/media/MediaSource.h"

namespace quillo {

// Opens a local file for demuxing and reads its stream information. The path
// is always taken as a file name (a name such as "a:b.mp3" is not a URL), the
// container may open no other protocol than local files, and only the audio
// and video containers Quillo reads are tried: a playlist or concatenation
// list (whatever its name) is refused rather than followed to the files it
// names. Only the first audio stream is read: the others are set aside
// (AVDISCARD_ALL) before anything is decoded. Returns null when the file is
// not a regular file or FFmpeg cannot read it. `demuxer` names the container format to read it as;
// null leaves it to FFmpeg to find.
InputContextPtr OpenInputFile(const std::string& path, const char* demuxer = nullptr);

// Whether the regular file at `path` is a picture (PNG, JPEG and the like):
// a file that OpenInputFile refuses and that holds no audio.
bool IsPictureFile(const std::string& path);

// Index of the first audio stream, in stream order, or -1. With
// `requireCodec` a stream whose codec FFmpeg could not identify is passed
// over. Streams that OpenInputFile set aside are never chosen.
int FindAudioStream(const AVFormatContext& context, bool requireCodec);

// What both framework sources report of an opened file.
struct AudioProperties {
  int sampleRate = 0;
  int bitRateKbps = 0;
  int sourceChannels = 0;
  int channels = 0;  // delivered: 1 below two source channels, else 2
  int durationSeconds = 0;
};

// Properties of stream `streamIndex` (-1: only the duration is known).
AudioProperties ReadAudioProperties(const AVFormatContext& context, int streamIndex);

// The base of both framework sources, which report a file alike.
class FfmpegMediaSource : public MediaSource {
 public:
  // 0 only when the container opened and holds no audio stream: a file that
  // cannot be read at all is a failure, not a silent file.
  int HasAudioStream() override { return noAudioStream_ ? 0 : 1; }

 protected:
  // Sets the base fields from `properties`, for 16-bit delivery.
  void SetProperties(const AudioProperties& properties) {
    duration_ = properties.durationSeconds;
    sampleRate_ = properties.sampleRate;
    bitRate_ = properties.bitRateKbps;
    sourceChannels_ = properties.sourceChannels;
    channels_ = properties.channels;
    bitsPerSample_ = 16;
    bytesPerSample_ = 2;
  }

  bool noAudioStream_ = false;
};

}  // namespace quillo
