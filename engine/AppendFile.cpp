#include "engine/ConvertPass.h"
#include "engine/PassSteps.h"

namespace quillo {

PassResult AppendFile(const PassItem& item, MediaSink& sink, int joinRate, int joinChannels,
                      PassContext& context) {
  PassResult result;
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;
  route.outputRate = joinRate;
  route.outputChannels = joinChannels;
  const bool fewerChannels = joinChannels < route.sourceChannels;
  const bool average = context.settings.monoType == MonoMixMode::Average;
  route.resample = route.sourceRate != joinRate || (fewerChannels && average);
  if (fewerChannels && !average) route.pickChannel = PickMode(context.settings);
  ChooseGain(context, route);

  const LoopEnd end =
      RunBlockLoop(*source, sink, route, context.progress, "Converting", item.displayName);
  if (end == LoopEnd::SkipNotReached) FailSkip(context, result);
  if (end == LoopEnd::NothingRead) context.job.failureDetail = kNoSamplesDetail;
  if (end == LoopEnd::WriteFailed) FailWrite(context, sink.ErrorText(), result);
  result.ok = end == LoopEnd::Finished;
  return result;
}

}  // namespace quillo
