#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
}

namespace quillo {

// Owners of FFmpeg's C handles: each frees its handle with the library's own
// release call, which takes the handle's address, when it goes out of scope.
template <auto release>
struct ReleaseByAddress {
  template <typename Handle>
  void operator()(Handle* handle) const {
    release(&handle);
  }
};

using InputContextPtr = std::unique_ptr<AVFormatContext, ReleaseByAddress<avformat_close_input>>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, ReleaseByAddress<avcodec_free_context>>;
using FramePtr = std::unique_ptr<AVFrame, ReleaseByAddress<av_frame_free>>;
using PacketPtr = std::unique_ptr<AVPacket, ReleaseByAddress<av_packet_free>>;
using DictionaryPtr = std::unique_ptr<AVDictionary, ReleaseByAddress<av_dict_free>>;

// An output context together with the file it writes to: the owner closes
// the file (without a trailer) and frees the context with its streams and
// metadata.
struct OutputContextDeleter {
  void operator()(AVFormatContext* context) const {
    if (context->pb != nullptr && (context->oformat->flags & AVFMT_NOFILE) == 0)
      avio_closep(&context->pb);
    avformat_free_context(context);
  }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

}  // namespace quillo
