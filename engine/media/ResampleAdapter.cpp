#include "engine/media/ResampleAdapter.h"

#include <soxr.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace quillo {

namespace {

template <typename T>
void Grow(std::vector<T>& buffer, size_t size) {
  if (buffer.size() < size) buffer.resize(size);
}

// The conversions run in groups of a fixed size, which the compiler turns
// into vector instructions; the rest of a block goes one sample at a time.
constexpr int kGroup = 8;

// Samples enter as s / 32768 but leave scaled by 32767 and truncated toward
// zero, so a resampled block never holds -32768. Kept as it is so that the
// output matches what earlier versions produced.
float ToFloat(int16_t sample) { return static_cast<float>(sample) / 32768.0f; }

// Scaling before clamping gives the same result as clamping to [-1, 1] first
// (the in-range products are the same, the out-of-range ones land on the
// bounds), in a form that vectorizes.
int16_t ToPcm(float value) {
  float scaled = value * 32767.0f;
  scaled = scaled < -32767.0f ? -32767.0f : scaled;
  scaled = scaled > 32767.0f ? 32767.0f : scaled;
  return static_cast<int16_t>(static_cast<int32_t>(scaled));
}

void ToFloats(const int16_t* in, float* out, int count) {
  int i = 0;
  for (; i + kGroup <= count; i += kGroup)
    for (int j = 0; j < kGroup; ++j) out[i + j] = ToFloat(in[i + j]);
  for (; i < count; ++i) out[i] = ToFloat(in[i]);
}

void ToPcms(const float* in, int16_t* out, int count) {
  int i = 0;
  for (; i + kGroup <= count; i += kGroup)
    for (int j = 0; j < kGroup; ++j) out[i + j] = ToPcm(in[i + j]);
  for (; i < count; ++i) out[i] = ToPcm(in[i]);
}

// One channel of float samples at a fixed ratio. The 16-bit recipe was chosen
// by measurement (bench/resample_recipes.sh): a half-scale 1 kHz tone taken
// from 44100 to 48000 Hz and written as 16 bits keeps an SNR above that of
// ffmpeg's own resampler, the passband is flat within 0.01 dB up to 20 kHz,
// and it is the fastest recipe that does both (one instance per channel costs
// the same as one two-channel instance).
//
// Wide samples go through doubles at the very high quality recipe (a 28-bit
// noise floor, 95 % of the band), so that a 24-bit source keeps its range.
soxr* OpenResampler(int inputRate, int outputRate, bool wide) {
  const soxr_datatype_t type = wide ? SOXR_FLOAT64_I : SOXR_FLOAT32_I;
  const soxr_io_spec_t io = soxr_io_spec(type, type);
  const soxr_quality_spec_t quality = soxr_quality_spec(wide ? SOXR_VHQ : SOXR_16_BITQ, 0);
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_error_t error = nullptr;
  soxr* handle = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, &runtime);
  // For two positive rates soxr fails only when memory runs out: that is
  // reported like any failed allocation, never as samples left at the old rate.
  if (error != nullptr || handle == nullptr) {
    soxr_delete(handle);
    throw std::bad_alloc();
  }
  return handle;
}

}  // namespace

void ResampleAdapter::ResamplerCloser::operator()(soxr* handle) const { soxr_delete(handle); }

void ResampleAdapter::Configure(int inputRate, int inputChannels, int outputRate,
                                int outputChannels, bool wide) {
  inputRate_ = inputRate;
  inputChannels_ = inputChannels;
  outputRate_ = outputRate;
  outputChannels_ = outputChannels;
  left_.reset();
  right_.reset();
  flushed_ = false;
  if (inputRate == outputRate || inputRate <= 0 || outputRate <= 0) return;

  left_.reset(OpenResampler(inputRate, outputRate, wide));
  if (outputChannels == 2) right_.reset(OpenResampler(inputRate, outputRate, wide));
}

int ResampleAdapter::OutputCapacity(int frames) const {
  const int ratio = (inputRate_ > 0 && outputRate_ > 0) ? outputRate_ / inputRate_ : 0;
  return (ratio + 1) * frames;
}

const int16_t* ResampleAdapter::Fold(const int16_t* left, const int16_t* right, int frames) {
  Grow(mix_, static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    // The arithmetic shift rounds toward minus infinity: (-3 + -4) >> 1 is -4.
    mix_[i] = static_cast<int16_t>((static_cast<int32_t>(left[i]) + right[i]) >> 1);
  }
  return mix_.data();
}

const double* ResampleAdapter::Fold(const double* left, const double* right, int frames) {
  Grow(wideMix_, static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) wideMix_[i] = (left[i] + right[i]) * 0.5;
  return wideMix_.data();
}

namespace {

// Runs `resampler` over `ilen` samples of `input` (null: the end of the
// stream) and collects up to `capacity` samples into `output`. Without a count
// of the input used, soxr takes the whole block into its queue and holds back
// whatever does not fit the output, so nothing is dropped: the held samples
// come with the next block or the flush.
template <typename Value>
size_t RunResampler(soxr* resampler, const Value* input, size_t ilen, Value* output,
                    size_t capacity) {
  size_t produced = 0;
  while (produced < capacity) {
    size_t done = 0;
    if (soxr_process(resampler, input, ilen, nullptr, output + produced, capacity - produced,
                     &done) != nullptr)
      break;
    produced += done;
    if (done == 0) break;
    ilen = 0;  // the input is queued; further calls only collect output
  }
  return produced;
}

}  // namespace

int ResampleAdapter::ResampleChannel(soxr* resampler, const double* in, int frames, bool last,
                                     double* out, int capacity) {
  if (out == nullptr) {
    // A channel nobody takes still goes through its resampler, to stay in step.
    Grow(wideDropped_, static_cast<size_t>(std::max(capacity, 1)));
    out = wideDropped_.data();
  }
  return static_cast<int>(RunResampler(resampler, last ? nullptr : in,
                                       last ? 0 : static_cast<size_t>(frames), out,
                                       static_cast<size_t>(capacity)));
}

int ResampleAdapter::ResampleChannel(soxr* resampler, const int16_t* in, int frames, bool last,
                                     int16_t* out, int capacity) {
  Grow(floatIn_, static_cast<size_t>(std::max(frames, 1)));
  Grow(floatOut_, static_cast<size_t>(std::max(capacity, 1)));
  ToFloats(in, floatIn_.data(), frames);

  const size_t produced = RunResampler(resampler, last ? nullptr : floatIn_.data(),
                                       last ? 0 : static_cast<size_t>(frames), floatOut_.data(),
                                       static_cast<size_t>(capacity));

  // A channel nobody takes still goes through its resampler, to stay in step.
  if (out != nullptr) ToPcms(floatOut_.data(), out, static_cast<int>(produced));
  return static_cast<int>(produced);
}

void ResampleAdapter::Process(const int16_t* inLeft, const int16_t* inRight, int frames,
                              int16_t* outLeft, int16_t* outRight, int* outFrames) {
  ProcessSamples(inLeft, inRight, frames, outLeft, outRight, outFrames);
}

void ResampleAdapter::Process(const double* inLeft, const double* inRight, int frames,
                              double* outLeft, double* outRight, int* outFrames) {
  ProcessSamples(inLeft, inRight, frames, outLeft, outRight, outFrames);
}

int ResampleAdapter::Flush(int16_t* outLeft, int16_t* outRight, int capacity) {
  return FlushSamples(outLeft, outRight, capacity);
}

int ResampleAdapter::Flush(double* outLeft, double* outRight, int capacity) {
  return FlushSamples(outLeft, outRight, capacity);
}

template <typename Sample>
void ResampleAdapter::ProcessSamples(const Sample* inLeft, const Sample* inRight, int frames,
                                     Sample* outLeft, Sample* outRight, int* outFrames) {
  if (frames < 0) frames = 0;
  const bool twoIn = inputChannels_ == 2 && inRight != nullptr;
  const bool twoOut = outputChannels_ == 2 && outRight != nullptr;

  const Sample* left = inLeft;
  bool stereoSource = twoIn;
  if (twoIn && outputChannels_ != 2) {
    left = Fold(inLeft, inRight, frames);
    stereoSource = false;
  }

  int count = frames;
  if (left_) {
    // The resamplers write straight into the caller's buffers.
    const int capacity = OutputCapacity(frames);
    count = ResampleChannel(left_.get(), left, frames, false, outLeft, capacity);
    if (stereoSource && right_) {
      const int rightCount = ResampleChannel(right_.get(), inRight, frames, false,
                                             twoOut ? outRight : nullptr, capacity);
      // Equal input gives equal counts; the smaller one is the safe one.
      count = std::min(count, rightCount);
    } else if (twoOut) {
      std::memcpy(outRight, outLeft, static_cast<size_t>(count) * sizeof(Sample));
    }
  } else {
    std::memcpy(outLeft, left, static_cast<size_t>(count) * sizeof(Sample));
    if (twoOut)
      std::memcpy(outRight, stereoSource ? inRight : left,
                  static_cast<size_t>(count) * sizeof(Sample));
  }
  *outFrames = count;
}

template <typename Sample>
int ResampleAdapter::FlushSamples(Sample* outLeft, Sample* outRight, int capacity) {
  if (!left_ || flushed_ || capacity <= 0) return 0;
  const bool twoOut = outputChannels_ == 2 && outRight != nullptr;
  // The right resampler only ever saw samples when the source had two channels.
  const bool rightFed = inputChannels_ == 2 && outputChannels_ == 2 && right_;

  int count = ResampleChannel(left_.get(), nullptr, 0, true, outLeft, capacity);
  if (rightFed) {
    const int rightCount =
        ResampleChannel(right_.get(), nullptr, 0, true, twoOut ? outRight : nullptr, capacity);
    count = std::min(count, rightCount);
  } else if (twoOut) {
    std::memcpy(outRight, outLeft, static_cast<size_t>(count) * sizeof(Sample));
  }
  if (count == 0) flushed_ = true;
  return count;
}

}  // namespace quillo
