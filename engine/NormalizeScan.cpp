#include <algorithm>
#include <cmath>

#include "engine/PassSteps.h"
#include "engine/output/LoudnessMeter.h"

namespace quillo {

namespace {

// Takes the blocks of a scan: records their smallest and largest sample and
// feeds them to the loudness meter, if there is one. Nothing is written.
class PeakSink final : public MediaSink {
 public:
  PeakSink(int channels, LoudnessMeter* meter) : channels_(channels), meter_(meter) {}

  void SetPath(const std::string& /*path*/) override {}
  bool Open() override { return true; }
  bool Write(const int16_t* left, const int16_t* right, int frames) override {
    if (meter_ != nullptr) meter_->Add(left, channels_ == 2 ? right : nullptr, frames);
    Record(left, frames);
    if (channels_ == 2) Record(right, frames);
    return true;
  }
  bool WriteWide(const double* left, const double* right, int frames) override {
    if (meter_ != nullptr) meter_->Add(left, channels_ == 2 ? right : nullptr, frames);
    peaks_.wide = true;
    Record(left, frames);
    if (channels_ == 2) Record(right, frames);
    return true;
  }
  bool Close() override { return true; }

  const Peaks& peaks() const { return peaks_; }

 private:
  void Record(const int16_t* samples, int frames) {
    for (int i = 0; i < frames; ++i) {
      peaks_.minimum = std::min(peaks_.minimum, samples[i]);
      peaks_.maximum = std::max(peaks_.maximum, samples[i]);
    }
  }
  void Record(const double* samples, int frames) {
    for (int i = 0; i < frames; ++i) {
      peaks_.wideMinimum = std::min(peaks_.wideMinimum, samples[i]);
      peaks_.wideMaximum = std::max(peaks_.wideMaximum, samples[i]);
    }
  }

  int channels_;
  LoudnessMeter* meter_;
  Peaks peaks_;
};

}  // namespace

PassResult NormalizeScan(const PassItem& item, PassContext& context, Peaks& peaks,
                         LoudnessMeter* meter, const JoinShape* join) {
  PassResult result;
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;
  // The route the conversion will take: the gain is what the scan looks for.
  if (join != nullptr)
    RouteToJoin(context, route, join->rate, join->channels);
  else if (!RouteToRow(context, route, *source, result))
    return result;
  route.applyGain = false;
  // The scan only reads: it looks at the display and the cancel button every
  // third block.
  route.blocksPerProgress = 3;
  const int rate = route.resample ? route.outputRate : route.sourceRate;
  if (meter != nullptr && !meter->StartFile(rate, route.outputChannels)) meter = nullptr;

  PeakSink sink(route.outputChannels, meter);
  const LoopEnd end =
      RunBlockLoop(*source, sink, route, context.progress, "Normalizing", item.displayName);
  // A source damaged at its end is scanned as far as it converts.
  result.ok = SourceDelivered(end);
  if (result.ok) {
    peaks = sink.peaks();
  } else {
    if (end == LoopEnd::SkipNotReached) context.job.failureDetail = kSkipTooLongDetail;
    // A scan that ends early takes its part measurement back out.
    if (meter != nullptr) meter->DropFile();
  }
  return result;
}

double LoudnessTarget(const ConversionSettings& settings) {
  return std::clamp(settings.loudnessTarget, -40, -5);
}

float NormalizeGain(int16_t minimum, int16_t maximum) {
  if (minimum < 0 && minimum >= -32762 && maximum > 0 && maximum < 32762) {
    const float down = 32768.0f / static_cast<float>(-minimum);
    const float up = 32767.0f / static_cast<float>(maximum);
    return down < up ? down : up;
  }
  return -1.0f;
}

float NormalizeGain(const Peaks& peaks) {
  if (!peaks.wide) return NormalizeGain(peaks.minimum, peaks.maximum);
  // The same room as for 16 bits: the highest magnitude is brought to
  // 32767/32768 of full scale, so that it stays below the rails at every
  // output depth once rounded, and a file already within 6/32768 of full
  // scale is left alone.
  const double peak = std::max(-peaks.wideMinimum, peaks.wideMaximum);
  constexpr double kTop = 32767.0 / 32768.0;
  if (peak <= 0.0 || peak >= 32762.0 / 32768.0) return -1.0f;
  float gain = static_cast<float>(kTop / peak);
  // Rounded to a float, the gain must not carry the peak past the top.
  if (static_cast<double>(gain) * peak > kTop) gain = std::nextafter(gain, 0.0f);
  return gain;
}

}  // namespace quillo
