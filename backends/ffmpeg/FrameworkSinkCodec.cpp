#include "backends/ffmpeg/FrameworkSinkCodec.h"

#include <algorithm>
#include <utility>

#include "backends/ffmpeg/CodecIdMap.h"
#include "backends/ffmpeg/FfmpegError.h"
#include "backends/ffmpeg/FrameworkSinkBitRate.h"
#include "backends/ffmpeg/FrameworkSinkSamples.h"
#include "catalog/CodecIds.h"
#include "engine/media/MediaSource.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace quillo {

namespace {

// The sample-oriented codecs the sink knows how to feed. Any other codec
// whose encoder does not report a frame size is refused.
bool IsSampleOriented(int32_t id) {
  return IsPcmCodec(CodecIdFromStored(id)) || id == codec_id::kAdpcmG726;
}

bool IsLossless(const AVCodec* encoder) {
  const AVCodecDescriptor* descriptor = avcodec_descriptor_get(encoder->id);
  return descriptor != nullptr && (descriptor->props & AV_CODEC_PROP_LOSSLESS) != 0;
}

bool IsOneOf(AVSampleFormat format, AVSampleFormat a, AVSampleFormat b) {
  return format == a || format == b;
}

// The first of the encoder's sample formats that `wanted` accepts; NONE when
// there is none.
template <typename Wanted>
AVSampleFormat FirstFormat(const AVCodec* encoder, Wanted wanted) {
  for (const AVSampleFormat* f = encoder->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
    if (wanted(*f)) return *f;
  return AV_SAMPLE_FMT_NONE;
}

// The encoder's sample format for audio of `reference`'s resolution. For
// 16-bit audio: the encoder's first format, except that a lossless encoder
// which also takes 16-bit samples gets those, so that 16-bit input makes a
// 16-bit file instead of a padded 24-bit one. For wide audio: a lossless
// encoder float for float audio where it codes float (WavPack), else its
// 32-bit integer format where it has one (its widest), a lossy encoder float
// where it takes it, so that it gets every bit of the source; otherwise the
// encoder's first format.
AVSampleFormat ChooseSampleFormat(const AVCodec* encoder, const SampleFormat& reference) {
  if (encoder->sample_fmts == nullptr) return AV_SAMPLE_FMT_S16;
  const bool lossless = IsLossless(encoder);
  AVSampleFormat chosen = AV_SAMPLE_FMT_NONE;
  if (!reference.IsWide() && lossless) {
    chosen = FirstFormat(encoder, [](AVSampleFormat f) {
      return IsOneOf(f, AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P);
    });
  } else if (reference.IsWide() && lossless) {
    if (reference.isFloat)
      chosen = FirstFormat(encoder, [](AVSampleFormat f) {
        return IsOneOf(f, AV_SAMPLE_FMT_FLT, AV_SAMPLE_FMT_FLTP);
      });
    if (chosen == AV_SAMPLE_FMT_NONE)
      chosen = FirstFormat(encoder, [](AVSampleFormat f) {
        return IsOneOf(f, AV_SAMPLE_FMT_S32, AV_SAMPLE_FMT_S32P);
      });
  } else if (reference.IsWide()) {
    chosen = FirstFormat(encoder, [](AVSampleFormat f) {
      return IsOneOf(f, AV_SAMPLE_FMT_FLT, AV_SAMPLE_FMT_FLTP);
    });
  }
  return chosen != AV_SAMPLE_FMT_NONE ? chosen : encoder->sample_fmts[0];
}

// The significant bits of an integer sample the opened encoder takes: all of
// its format's, except where a 32-bit sample holds fewer (24-bit PCM, and the
// lossless encoders that code 24 bits); 0 for float formats.
int SignificantBits(const AVCodecContext& context) {
  switch (av_get_packed_sample_fmt(context.sample_fmt)) {
    case AV_SAMPLE_FMT_U8:
      return 8;
    case AV_SAMPLE_FMT_S16:
      return 16;
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S64:
      for (const int bits : {context.bits_per_raw_sample, context.bits_per_coded_sample})
        if (bits > 16 && bits < 32) return bits;
      return 32;
    default:
      return 0;
  }
}

// How wide samples are rounded for the encoder: to its significant bits, with
// dither when the audio has more of them (float audio counts as more than any
// integer), so that a 24-bit source into a 24-bit format stays bit exact.
WideRounding RoundingFor(const AVCodecContext& context, const SampleFormat& reference,
                         TpdfDither& dither) {
  WideRounding rounding;
  rounding.bits = SignificantBits(context);
  const bool moreBits = reference.isFloat || reference.bits > rounding.bits;
  if (rounding.bits > 0 && moreBits) rounding.dither = &dither;
  return rounding;
}

// Stream details the containers need beyond what the encoder reports.
void DescribeForContainer(int32_t storedCodecId, AVCodecParameters* parameters) {
  // AIFF-C records a sample size for every codec; GSM stands for 16-bit
  // samples, and without a size the AIFF writer refuses the stream.
  if (storedCodecId == codec_id::kGsm && parameters->bits_per_coded_sample == 0)
    parameters->bits_per_coded_sample = 16;
  // WAV stores the byte rate, from which readers work out the bits per G.726
  // code word. Rounding it down (3 or 5 bits at 44100 Hz give half bytes)
  // would make them read the wrong code word size, so round it up.
  if (storedCodecId == codec_id::kAdpcmG726)
    parameters->bit_rate = (parameters->bit_rate + 7) / 8 * 8;
}

// The bits a lossless codec keeps of wide audio in 32-bit samples: FLAC and
// ALAC code no more than 24; WavPack codes all 32 of a 32-bit source (it is
// told so, or it takes the top 24).
int LosslessBits(AVCodecID id, const SampleFormat& reference) {
  return id == AV_CODEC_ID_WAVPACK && reference.bits > 24 ? 32 : 24;
}

// The options of the codecs that have their own: Opus's bit-rate mode and
// WavPack's compression level. A negative AVERROR when the encoder refuses one.
int SetCodecOptions(const EncoderSettings& settings, AVCodecContext* context) {
  if (context->codec_id == AV_CODEC_ID_WAVPACK)
    context->compression_level = settings.compressionLevel;
  if (context->codec_id != AV_CODEC_ID_OPUS) return 0;
  return av_opt_set_int(context->priv_data, "vbr", settings.variableBitRate != 0 ? 1 : 0, 0);
}

}  // namespace

std::unique_ptr<FrameworkSinkCodec> FrameworkSinkCodec::Open(const EncoderSettings& settings,
                                                             AVCodecParameters* parameters,
                                                             PacketWriter writer,
                                                             std::string& error) {
  const auto refuse = [&error](std::string reason) {
    error = std::move(reason);
    return nullptr;
  };
  const AVCodecID id = CodecIdFromStored(settings.storedCodecId);
  if (id == AV_CODEC_ID_NONE) return refuse("Unknown output codec");
  if (settings.sampleRate <= 0 || settings.channels < 1 || settings.channels > 2)
    return refuse("Unsupported sample rate or channel count");
  const AVCodec* encoder = avcodec_find_encoder(id);
  if (encoder == nullptr) return refuse(std::string("No encoder for ") + avcodec_get_name(id));
  const auto refuseMemory = [&refuse] { return refuse(FfmpegErrorText(AVERROR(ENOMEM))); };

  std::unique_ptr<FrameworkSinkCodec> codec(new FrameworkSinkCodec);
  codec->context_.reset(avcodec_alloc_context3(encoder));
  if (!codec->context_) return refuseMemory();
  AVCodecContext* context = codec->context_.get();
  context->codec_type = AVMEDIA_TYPE_AUDIO;
  context->sample_rate = settings.sampleRate;
  av_channel_layout_default(&context->ch_layout, settings.channels);
  context->time_base = AVRational{1, settings.sampleRate};
  context->sample_fmt = ChooseSampleFormat(encoder, settings.sampleFormat);
  if (settings.sampleFormat.IsWide() && !IsPcmCodec(id) &&
      av_get_packed_sample_fmt(context->sample_fmt) == AV_SAMPLE_FMT_S32)
    context->bits_per_raw_sample = LosslessBits(id, settings.sampleFormat);
  const EncoderRate rate = EncoderRateFor(settings.storedCodecId, settings.bitRate,
                                          settings.sampleRate, settings.channels);
  context->bit_rate = rate.bitRate;
  if (rate.codeWordBits != 0) {
    context->bits_per_coded_sample = rate.codeWordBits;
    // The catalog offers G.726 at every PCM rate, not only the 8000 Hz of
    // the telephone standard; the encoder codes other rates just as well.
    context->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
  }
  if (settings.globalHeader) context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (const int set = SetCodecOptions(settings, context); set < 0)
    return refuse(std::string("The ") + encoder->name +
                  " encoder refuses its options: " + FfmpegErrorText(set));
  if (!CanPutSamples(context->sample_fmt))
    return refuse(std::string("Unsupported sample format of the ") + encoder->name + " encoder");
  const int opened = avcodec_open2(context, encoder, nullptr);
  if (opened < 0)
    return refuse(std::string("The ") + encoder->name +
                  " encoder refuses these settings: " + FfmpegErrorText(opened));

  codec->channels_ = settings.channels;
  codec->encoded_.lossless = IsLossless(encoder);
  codec->encoded_.priming = context->initial_padding;
  codec->rounding_ = RoundingFor(*context, settings.sampleFormat, codec->dither_);
  if (context->frame_size < 2) {
    if (!IsSampleOriented(settings.storedCodecId))
      return refuse(std::string("Unsupported encoder ") + encoder->name);
    codec->eachBlock_ = true;
    // The engine writes at most a block at once.
    codec->capacity_ = kMaxBlockFrames;
  } else {
    codec->capacity_ = context->frame_size;
  }

  codec->frame_.reset(av_frame_alloc());
  codec->packet_.reset(av_packet_alloc());
  if (!codec->frame_ || !codec->packet_) return refuseMemory();
  AVFrame* frame = codec->frame_.get();
  frame->format = context->sample_fmt;
  frame->sample_rate = context->sample_rate;
  frame->nb_samples = codec->capacity_;
  if (av_channel_layout_copy(&frame->ch_layout, &context->ch_layout) < 0 ||
      av_frame_get_buffer(frame, 0) < 0 || avcodec_parameters_from_context(parameters, context) < 0)
    return refuseMemory();
  DescribeForContainer(settings.storedCodecId, parameters);
  codec->writer_ = std::move(writer);
  return codec;
}

bool FrameworkSinkCodec::PrepareFrame() {
  frame_->nb_samples = capacity_;
  const int result = av_frame_make_writable(frame_.get());
  return result >= 0 || Fail(FfmpegErrorText(result));
}

template <typename Sample, typename Put>
bool FrameworkSinkCodec::Fill(const Sample* left, const Sample* right, int frames, Put put) {
  if (right == nullptr) right = left;
  while (frames > 0) {
    if (filled_ == 0 && !PrepareFrame()) return false;
    const int take = std::min(frames, capacity_ - filled_);
    put(left, right, take, filled_);
    left += take;
    right += take;
    frames -= take;
    filled_ += take;
    if ((filled_ == capacity_ || eachBlock_) && !SendFrame()) return false;
  }
  return true;
}

bool FrameworkSinkCodec::Write(const int16_t* left, const int16_t* right, int frames) {
  return Fill(
      left, right, frames, [this](const int16_t* l, const int16_t* r, int count, int offset) {
        PutSamples(l, r, count, channels_, context_->sample_fmt, frame_->extended_data, offset);
      });
}

bool FrameworkSinkCodec::WriteWide(const double* left, const double* right, int frames) {
  return Fill(left, right, frames, [this](const double* l, const double* r, int count, int offset) {
    PutWideSamples(l, r, count, channels_, context_->sample_fmt, rounding_, frame_->extended_data,
                   offset);
  });
}

bool FrameworkSinkCodec::SendFrame() {
  frame_->nb_samples = filled_;
  if (encoded_.lossless)
    HashSamples(frame_->extended_data, filled_, channels_, context_->sample_fmt, encoded_.hash);
  frame_->pts = nextPts_;
  nextPts_ += filled_;
  filled_ = 0;
  // A frame the encoder rejects would be a silent gap in the output.
  const int sent = avcodec_send_frame(context_.get(), frame_.get());
  if (sent < 0) return Fail("Encoding failed: " + FfmpegErrorText(sent));
  return ReceivePackets();
}

bool FrameworkSinkCodec::ReceivePackets() {
  for (;;) {
    const int result = avcodec_receive_packet(context_.get(), packet_.get());
    // Wants more input, or drained.
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) return Fail("Encoding failed: " + FfmpegErrorText(result));
    packet_->flags |= AV_PKT_FLAG_KEY;
    // A frame codec's packet decodes to a whole frame, however short the
    // audio in its last one (its duration says only that).
    encoded_.packetFrames += eachBlock_ ? packet_->duration : capacity_;
    const bool written = writer_(packet_.get());
    av_packet_unref(packet_.get());
    if (!written) return false;
  }
}

bool FrameworkSinkCodec::Finish() {
  if (filled_ > 0 && !SendFrame()) return false;
  const int drained = avcodec_send_frame(context_.get(), nullptr);
  if (drained < 0 && drained != AVERROR_EOF)
    return Fail("Encoding failed: " + FfmpegErrorText(drained));
  return ReceivePackets();
}

}  // namespace quillo
