#include "backends/ffmpeg/AmrNbStreamEncoder.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "backends/ffmpeg/FfmpegError.h"

namespace quillo {

std::unique_ptr<AmrNbStreamEncoder> AmrNbStreamEncoder::Open(const EncoderSettings& settings,
                                                             AVCodecParameters* parameters,
                                                             PacketWriter writer,
                                                             std::string& error) {
  if (settings.sampleRate != AmrNbEncoder::kSampleRate || settings.channels != 1) {
    error = "AMR-NB takes 8000 Hz mono only";
    return nullptr;
  }
  std::unique_ptr<AmrNbStreamEncoder> stream(new AmrNbStreamEncoder);
  stream->encoder_ = AmrNbEncoder::Create(false);
  stream->packet_.reset(av_packet_alloc());
  if (!stream->encoder_ || !stream->packet_) {
    error = "The AMR-NB encoder could not be created";
    return nullptr;
  }
  stream->mode_ = AmrNbEncoder::ModeForBitRate(settings.bitRate);
  stream->writer_ = std::move(writer);

  parameters->codec_type = AVMEDIA_TYPE_AUDIO;
  parameters->codec_id = AV_CODEC_ID_AMR_NB;
  parameters->sample_rate = AmrNbEncoder::kSampleRate;
  av_channel_layout_uninit(&parameters->ch_layout);
  av_channel_layout_default(&parameters->ch_layout, 1);
  parameters->frame_size = AmrNbEncoder::kFrameSamples;
  parameters->bit_rate = AmrNbEncoder::BitRateOfMode(stream->mode_);
  return stream;
}

template <typename Fill>
bool AmrNbStreamEncoder::Buffer(int frames, Fill fill) {
  while (frames > 0) {
    const int take = std::min(frames, AmrNbEncoder::kFrameSamples - filled_);
    fill(samples_.data() + filled_, take);
    frames -= take;
    filled_ += take;
    if (filled_ == AmrNbEncoder::kFrameSamples && !EncodeFrame()) return false;
  }
  return true;
}

bool AmrNbStreamEncoder::Write(const int16_t* left, const int16_t* /*right*/, int frames) {
  return Buffer(frames, [&left](int16_t* out, int take) {
    std::copy_n(left, take, out);
    left += take;
  });
}

bool AmrNbStreamEncoder::WriteWide(const double* left, const double* /*right*/, int frames) {
  return Buffer(frames, [this, &left](int16_t* out, int take) {
    for (int i = 0; i < take; ++i) out[i] = static_cast<int16_t>(dither_.Quantize(left[i], 16));
    left += take;
  });
}

bool AmrNbStreamEncoder::EncodeFrame() {
  filled_ = 0;
  const int64_t pts = nextPts_;
  nextPts_ += AmrNbEncoder::kFrameSamples;
  const int allocated = av_new_packet(packet_.get(), AmrNbEncoder::kMaxFrameBytes);
  if (allocated < 0) return Fail(FfmpegErrorText(allocated));
  const int size = encoder_->Encode(mode_, samples_.data(), packet_->data);
  if (size <= 0) {  // a lost frame would be a silent gap in the output
    av_packet_unref(packet_.get());
    return Fail("Encoding failed: the AMR-NB encoder refused a frame");
  }
  av_shrink_packet(packet_.get(), size);
  packet_->pts = packet_->dts = pts;
  packet_->duration = AmrNbEncoder::kFrameSamples;
  packet_->flags |= AV_PKT_FLAG_KEY;
  const bool written = writer_(packet_.get());
  av_packet_unref(packet_.get());
  return written;
}

bool AmrNbStreamEncoder::Finish() {
  if (filled_ == 0) return true;
  std::fill(samples_.begin() + filled_, samples_.end(), int16_t{0});
  return EncodeFrame();
}

}  // namespace quillo
