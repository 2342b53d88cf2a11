#pragma once

#include <vector>

#include "backends/ffmpeg/ChannelFold.h"
#include "backends/ffmpeg/FfmpegPtr.h"
#include "backends/ffmpeg/SampleConverter.h"
#include "engine/MediaSource.h"

namespace quillo {

// Decodes the first audio stream of any container FFmpeg reads (audio files
// and the audio of video files) into 16-bit planar blocks, folding more than
// two channels to stereo. Packets of other streams are discarded undecoded.
class FrameworkSource final : public MediaSource {
 public:
  FrameworkSource();
  ~FrameworkSource() override;

  void Close() override;
  bool Open(const std::string& path, int renderRate) override;
  int Read(int16_t* left, int16_t* right) override;
  // 0 only when the container opened and holds no audio stream: a file that
  // cannot be read at all is a failure, not a silent file.
  int HasAudioStream() override { return noAudioStream_ ? 0 : 1; }
  bool ReadTags(TagInfo& tags) override;

 private:
  // Makes the next decoded frame current; false at the end of the stream.
  bool NextFrame();
  // Hands the decoder its next packet, or the end-of-stream signal when the
  // container has no more; false when there is nothing left to send.
  bool SendNextPacket();
  // True when the container's reader is at the end of the file or failed.
  bool InputAtEnd() const;
  // Prepares the converter and the fold for the current frame's format.
  bool PrepareFrame();

  InputContextPtr input_;
  CodecContextPtr codec_;
  FramePtr frame_;
  PacketPtr packet_;
  int streamIndex_ = -1;
  bool noAudioStream_ = false;
  SampleConverter converter_;
  ChannelFold fold_;
  int cursor_ = 0;                  // first frame of frame_ not yet handed out
  bool inputEnded_ = false;         // the decoder has been told the stream ended
  bool finished_ = false;           // the decoder has nothing more to give
  int failuresInRow_ = 0;           // read and decode errors since the last frame
  std::vector<int16_t> converted_;  // one block of converted frames
};

}  // namespace quillo
