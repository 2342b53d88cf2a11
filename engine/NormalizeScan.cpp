#include <algorithm>

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
  bool Close() override { return true; }

  const Peaks& peaks() const { return peaks_; }

 private:
  void Record(const int16_t* samples, int frames) {
    for (int i = 0; i < frames; ++i) {
      peaks_.minimum = std::min(peaks_.minimum, samples[i]);
      peaks_.maximum = std::max(peaks_.maximum, samples[i]);
    }
  }

  int channels_;
  LoudnessMeter* meter_;
  Peaks peaks_;
};

}  // namespace

PassResult NormalizeScan(const PassItem& item, PassContext& context, Peaks& peaks,
                         LoudnessMeter* meter) {
  PassResult result;
  std::unique_ptr<MediaSource> source =
      OpenSource(item, context, RenderRate(context.row, context.settings), result);
  if (!source) return result;
  BlockRoute route;
  route.sourceRate = route.outputRate = source->GetSampleRate();
  // The samples come as one channel or as a pair.
  route.sourceChannels = route.outputChannels = source->GetChannels() == 2 ? 2 : 1;
  route.stopAtProgressTotal = IsRenderedKind(item.kind);
  // The scan only reads: it looks at the display and the cancel button every
  // third block.
  route.blocksPerProgress = 3;
  if (meter != nullptr && !meter->StartFile(route.sourceRate, route.sourceChannels))
    meter = nullptr;

  PeakSink sink(route.outputChannels, meter);
  const LoopEnd end =
      RunBlockLoop(*source, sink, route, context.progress, "Normalizing", item.displayName);
  // A source damaged at its end is scanned as far as it converts.
  result.ok = SourceDelivered(end);
  if (result.ok) {
    peaks = sink.peaks();
  } else if (meter != nullptr) {
    // A scan that ends early takes its part measurement back out.
    meter->DropFile();
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

}  // namespace quillo
