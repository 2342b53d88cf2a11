#include "backends/bass/WavPackStream.h"

#include <wavpack/wavpack.h>

#include <bit>
#include <cstring>

#include "base/RegularFile.h"
#include "engine/media/ChannelOrder.h"
#include "engine/media/MediaSource.h"

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
  // Floats and integers of three or four bytes are delivered wide.
  SampleFormat format;
  if (stream->float_)
    format = {32, true};
  else if (stream->bytesPerSample_ > 2)
    format = {WavpackGetBitsPerSample(context) <= 24 ? 24 : 32, false};
  stream->info_ = {rate, channels, eightBits, format};
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
  if (info_.format.IsWide()) {
    // Integers arrive right-justified in their bytes, floats normalized to
    // full scale 1.0.
    const double scale = 1.0 / static_cast<double>(int64_t{1} << (8 * bytesPerSample_ - 1));
    for (size_t i = 0; i < samples; ++i) {
      const int32_t value = unpacked_[i];
      const double wide = float_ ? static_cast<double>(std::bit_cast<float>(value)) : value * scale;
      std::memcpy(buffer + sizeof(double) * i, &wide, sizeof wide);
    }
    return size_t{got} * perFrame;
  }
  for (size_t i = 0; i < samples; ++i) {
    const auto sample = static_cast<int16_t>(unpacked_[i]);
    std::memcpy(buffer + 2 * i, &sample, 2);
  }
  return size_t{got} * perFrame;
}

void ReleaseHandle(WavpackContext* context) { WavpackCloseFile(context); }

}  // namespace quillo::audio
