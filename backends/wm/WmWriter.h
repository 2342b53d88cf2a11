#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "backends/ffmpeg/FrameworkSink.h"
#include "engine/media/ResampleAdapter.h"
#include "engine/media/WindowsMediaFormat.h"

namespace quillo {

// The writer of the Windows Media layer: one audio stream in a Windows Media
// Audio format (wmav2) in an ASF file. It takes 16-bit PCM at any rate and
// channel count and converts it to the format's own, as a writer fed by the
// caller's rate does.
class WmWriter {
 public:
  // The file's one audio stream: its format and bit rate. False for a format
  // without a rate, channel count (1 or 2) or bit rate.
  bool SetProfile(const WindowsMediaFormat& format);
  // The PCM that WriteSample receives. False for a rate or channel count
  // that cannot be converted.
  bool SetInputProps(int sampleRate, int channels);
  // A text attribute of the file ("Title", "WM/AlbumTitle", ...).
  void AddAttribute(const std::string& name, const std::string& value);
  void SetOutputFilename(const std::string& path) { sink_.SetPath(path); }

  // Creates the file and writes its header; false when the encoder or the
  // file refuse (ErrorText says why).
  bool BeginWriting();
  // Writes `frames` frames of planar PCM (`right` is read only for two
  // input channels) presented at `time`, in 100-nanosecond units. Samples
  // must come in order: a time below the previous sample's is refused.
  bool WriteSample(int64_t time, const int16_t* left, const int16_t* right, int frames);
  // Encodes what the rate conversion still holds, then finishes and closes
  // the file; false when any of it failed.
  bool EndWriting();

  std::string ErrorText() const { return error_.empty() ? sink_.ErrorText() : error_; }

 private:
  bool Fail(std::string reason);
  // Hands converted frames to the encoder.
  bool Encode(int frames);
  // Hands `frames` frames of silence to the encoder.
  bool EncodeSilence(int frames);

  // The toolkit's encoding half does the container, encoder and trailer:
  // this writer only adds the profile, the rate conversion and the padding.
  FrameworkSink sink_;
  WindowsMediaFormat format_;
  int inputRate_ = 0;
  int inputChannels_ = 0;
  bool writing_ = false;
  int64_t lastTime_ = -1;
  int frameSize_ = 1;  // samples per encoder frame
  ResampleAdapter adapter_;
  std::vector<int16_t> left_;
  std::vector<int16_t> right_;
  std::string error_;
};

}  // namespace quillo
