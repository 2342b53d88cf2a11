#include "backends/bass/WavPackStream.h"

#include <wavpack/wavpack.h>

#include <cstring>

#include "engine/media/ChannelOrder.h"
#include "engine/media/MediaSource.h"
#include "engine/media/RegularFile.h"
#include "engine/media/SampleScale.h"

namespace quillo::audio {

std::unique_ptr<AudioStream> WavPackStream::Open(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return nullptr;
  char error[128] = {};
  // The correction file beside it is read only when it is a regular file too.
  int flags = OPEN_NORMALIZE | OPEN_DSD_AS_PCM;
  if (RegularFileProblem(path + "c").empty()) flags |= OPEN_WVC;
  WavPackPtr opened(WavpackOpenFileInput(path.c_str(), error, flags, 0));
  if (!opened) return nullptr;
  std::unique_ptr<WavPackStream> stream(new WavPackStream);
  stream->context_ = std::move(opened);
  WavpackContext* context = stream->context_.get();

  const int channels = WavpackGetNumChannels(context);
  const auto rate = static_cast<int>(WavpackGetSampleRate(context));
  const int64_t frames = WavpackGetNumSamples64(context);
  stream->bytesPerSample_ = WavpackGetBytesPerSample(context);
  stream->float_ = (WavpackGetMode(context) & MODE_FLOAT) != 0;
  if (channels < 1 || channels > 64 || !IsSaneSampleRate(rate) || frames <= 0) return nullptr;
  if (stream->bytesPerSample_ < 1 || stream->bytesPerSample_ > 4) return nullptr;

  const bool eightBits = stream->bytesPerSample_ == 1 && !stream->float_;
  stream->info_ = {rate, channels, eightBits};
  stream->speakers_ = MaskSpeakers(static_cast<uint32_t>(WavpackGetChannelMask(context)), channels);
  stream->SetFrames(static_cast<uint64_t>(frames));
  // The first block states the whole length: a file cut short ends before it.
  stream->announced_ = stream->Length();
  stream->fileSize_ = FileSizeOf(path);
  return stream;
}

size_t WavPackStream::Decode(uint8_t* buffer, size_t bytes) {
  const size_t frames = FramesToDecode(bytes, framesLeft_);
  if (frames == 0) return 0;
  const auto perFrame = static_cast<size_t>(BytesPerFrame());
  const auto channels = static_cast<size_t>(info_.chans);
  if (unpacked_.size() < frames * channels) unpacked_.resize(frames * channels);
  const uint32_t got =
      WavpackUnpackSamples(context_.get(), unpacked_.data(), static_cast<uint32_t>(frames));
  framesLeft_ -= got;
  const size_t samples = size_t{got} * channels;
  if (info_.eightBits) {
    for (size_t i = 0; i < samples; ++i) buffer[i] = static_cast<uint8_t>(unpacked_[i] + 128);
    return size_t{got} * perFrame;
  }
  for (size_t i = 0; i < samples; ++i) {
    int16_t sample = 0;
    const int32_t value = unpacked_[i];
    if (float_) {
      float f = 0.0f;
      std::memcpy(&f, &value, sizeof f);
      sample = FloatToS16(f);
    } else {
      // Samples arrive right-justified in 32 bits; keep the top 16 bits.
      switch (bytesPerSample_) {
        case 2:
          sample = static_cast<int16_t>(value);
          break;
        case 3:
          sample = static_cast<int16_t>(value >> 8);
          break;
        default:
          sample = static_cast<int16_t>(value >> 16);
          break;
      }
    }
    std::memcpy(buffer + 2 * i, &sample, 2);
  }
  return size_t{got} * perFrame;
}

void ReleaseHandle(WavpackContext* context) { WavpackCloseFile(context); }

}  // namespace quillo::audio
