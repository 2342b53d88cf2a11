#pragma once

#include <vector>

#include "backends/ffmpeg/ChannelFold.h"
#include "backends/ffmpeg/FfmpegInput.h"
#include "backends/wm/WmSyncReader.h"
#include "engine/media/WindowsMediaRuntime.h"

namespace quillo {

// The source for Windows Media files (.wma, .wmv, .asf and the other kinds
// of SourceKind::WindowsMedia), read through the Windows Media layer. It
// delivers the first audio stream as 16-bit planar blocks, folding more than
// two channels to stereo, reports the file's attributes as tags, and counts
// progress in the stream's own time (100-nanosecond units of the duration).
class WmSource final : public FfmpegMediaSource {
 public:
  explicit WmSource(const WindowsMediaRuntime& runtime) : runtime_(runtime) {}

  void Close() override;
  // Fails without the Windows Media support, and for a file the reader
  // cannot open; the factory then turns to the framework.
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  // Title, Author, Description, WM/AlbumTitle, WM/Genre, WM/TrackNumber (a
  // number, or a text such as "7/12" whose leading number counts), WM/Year,
  // Copyright and WM/Composer.
  bool ReadTags(TagInfo& tags) override;
  std::optional<EarlyEnd> EndedEarly() override;

 private:
  const WindowsMediaRuntime& runtime_;
  WmSyncReader reader_;
  bool open_ = false;
  ChannelFold fold_;
  std::vector<int16_t> sample_;  // the last decompressed sample, reused
  size_t readIndex_ = 0;         // next value of sample_ to hand out
  int framesLeft_ = 0;           // whole frames of sample_ not yet handed out
  uint64_t delivered_ = 0;       // frames handed out since Open
};

}  // namespace quillo
