#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "backends/ffmpeg/FfmpegPtr.h"
#include "engine/media/MediaSource.h"

namespace quillo {

// Decodes one audio stream of an opened input, frame by frame. Damaged
// packets, and frames the caller cannot take, are passed over and decoding
// goes on after them; only a long run of failures without a good frame in
// between ends the stream early.
class FfmpegDecoder {
 public:
  // Takes `input` and opens the decoder of its stream `streamIndex`; the
  // demuxer then skips every other stream. False when no decoder opens.
  bool Open(InputContextPtr input, int streamIndex);
  void Close();
  bool IsOpen() const { return codec_ != nullptr; }

  // Makes the next decoded frame that `accept` takes current; false at the
  // end of the stream.
  bool NextFrame(const std::function<bool(const AVFrame&)>& accept);
  const AVFrame& Frame() const { return *frame_; }
  // After NextFrame returned false: whether the stream stopped on an error
  // (a failing device, or a long run of damage) before the file's end.
  bool StoppedOnError() const { return stoppedOnError_; }
  // The length of the stream as the file's header states it, in seconds; 0
  // when the header states none that can be trusted (a length estimated from
  // the bit rate, or a video file, whose sound may end before its picture).
  double AnnouncedSeconds() const;
  // After NextFrame returned false, with `frames` frames at `rate` handed
  // out: how far the stream got when it stopped on an error or well short
  // of its announced length; nothing when it ended as it should.
  std::optional<EarlyEnd> EarlyEndAfter(uint64_t frames, int rate) const;

  const AVFormatContext& Input() const { return *input_; }
  const AVStream& Stream() const { return *input_->streams[streamIndex_]; }
  const AVCodecContext& Codec() const { return *codec_; }

 private:
  // Hands the decoder its next packet, or the end-of-stream signal when the
  // container has no more; false when there is nothing left to send.
  bool SendNextPacket();
  // True when the container's reader is at the end of the file or failed.
  bool InputAtEnd() const;

  InputContextPtr input_;
  CodecContextPtr codec_;
  FramePtr frame_;
  PacketPtr packet_;
  int streamIndex_ = -1;
  bool inputEnded_ = false;  // the decoder has been told the stream ended
  bool finished_ = false;    // the decoder has nothing more to give
  int failuresInRow_ = 0;    // read and decode errors since the last frame
  bool stoppedOnError_ = false;
};

}  // namespace quillo
