#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct soxr;

namespace quillo {

// Turns the PCM a source delivers into the rate and channel count a sink was
// configured for: folds two channels into one, duplicates one into two, and
// converts the rate with one soxr instance per output channel. One adapter
// serves one file; the blocks it is given form one continuous stream, and the
// samples it delivers do not depend on how that stream was cut into blocks.
// It takes either 16-bit samples or wide ones (doubles at full scale 1.0),
// as Configure was told.
class ResampleAdapter {
 public:
  // Stores the formats and opens the resamplers when the rates differ; with
  // `wide` they take doubles and keep 24 bits and more.
  void Configure(int inputRate, int inputChannels, int outputRate, int outputChannels,
                 bool wide = false);

  // Converts `frames` frames. `inRight` may be null for one input channel;
  // `outRight` is used only for two output channels. Each output buffer must
  // hold OutputCapacity(frames) samples.
  void Process(const int16_t* inLeft, const int16_t* inRight, int frames, int16_t* outLeft,
               int16_t* outRight, int* outFrames);
  void Process(const double* inLeft, const double* inRight, int frames, double* outLeft,
               double* outRight, int* outFrames);

  // Delivers the samples the resamplers still hold back at the end of the
  // stream, at most `capacity` frames per call. Call it after the last block
  // until it returns 0; with equal rates it returns 0 at once.
  int Flush(int16_t* outLeft, int16_t* outRight, int capacity);
  int Flush(double* outLeft, double* outRight, int capacity);

  // Output samples per channel that a block of `frames` input frames may need:
  // (output rate / input rate, in whole numbers, + 1) x frames.
  int OutputCapacity(int frames) const;

  bool resampling() const { return left_ != nullptr; }

 private:
  struct ResamplerCloser {
    void operator()(soxr* handle) const;
  };
  using Resampler = std::unique_ptr<soxr, ResamplerCloser>;

  // Runs `frames` samples of one channel through `resampler` (none and `last`:
  // the end of the stream) and writes up to `capacity` resampled samples into
  // `out` (none: they are dropped); returns the samples produced.
  int ResampleChannel(soxr* resampler, const int16_t* in, int frames, bool last, int16_t* out,
                      int capacity);
  int ResampleChannel(soxr* resampler, const double* in, int frames, bool last, double* out,
                      int capacity);
  // The mean of both channels; 16-bit samples rounded toward minus infinity.
  const int16_t* Fold(const int16_t* left, const int16_t* right, int frames);
  const double* Fold(const double* left, const double* right, int frames);
  template <typename Sample>
  void ProcessSamples(const Sample* inLeft, const Sample* inRight, int frames, Sample* outLeft,
                      Sample* outRight, int* outFrames);
  template <typename Sample>
  int FlushSamples(Sample* outLeft, Sample* outRight, int capacity);

  int inputRate_ = -1;
  int inputChannels_ = -1;
  int outputRate_ = -1;
  int outputChannels_ = -1;
  Resampler left_;
  Resampler right_;
  bool flushed_ = false;

  // Buffers only grow, so that after the first block nothing is allocated.
  std::vector<int16_t> mix_;
  std::vector<float> floatIn_;
  std::vector<float> floatOut_;
  std::vector<double> wideMix_;
  std::vector<double> wideDropped_;  // the output of a channel nobody takes
};

}  // namespace quillo
