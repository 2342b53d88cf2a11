#pragma once

namespace quillo {

// One audio encoding format of the Windows Media writer: the rate and
// channel count it encodes at and its bit rate.
struct WindowsMediaFormat {
  int sampleRate = 0;
  int channels = 0;
  int bitRate = 0;  // bit/s

  bool operator==(const WindowsMediaFormat&) const = default;
};

}  // namespace quillo
