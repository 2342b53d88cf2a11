#include "engine/ConvertPass.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/MeasuredSink.h"
#include "engine/PassSteps.h"

namespace quillo {

PassResult ConvertFile(const PassItem& item, PassContext& context) {
  PassResult result;
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;

  const BackendTable& backends = context.backends;
  std::optional<OutputSelection> output = SelectOutput(
      context.row, route.sourceRate, route.sourceChannels,
      RenderRate(context.row, context.settings), SelectionMode::PerFile, context.settings,
      [&backends](FormatBackend backend) { return backends.MakeSink(backend); },
      backends.windowsMedia);
  if (!output) {
    result.retryWithFramework = false;
    return result;
  }
  MediaSink& sink = *output->sink;
  route.outputRate = output->rate;
  route.outputChannels = output->channels;
  const bool mixToMono =
      output->channels < route.sourceChannels && context.settings.monoType == MonoMixMode::Average;
  if (output->pickChannel) route.pickChannel = PickMode(context.settings);
  if (!sink.ResamplesItself()) route.resample = output->rate != route.sourceRate || mixToMono;

  SetTags(sink, item, context, *source);
  sink.SetPath(item.outputPath);
  if (!sink.Open()) {
    const std::string reason = sink.ErrorText();
    if (!reason.empty()) context.job.failureDetail = reason;
    output->sink.reset();
    DeleteOutput(item.outputPath, item.path);
    result.retryWithFramework = false;
    return result;
  }
  ChooseGain(context, route);

  // ReplayGain values are measured on the samples as they go to the encoder.
  context.job.trackGain.reset();
  std::optional<MeasuredSink> measured;
  if (WantsReplayGain(context))
    measured.emplace(sink, route.resample ? route.outputRate : route.sourceRate,
                     route.outputChannels);
  MediaSink& target = measured ? static_cast<MediaSink&>(*measured) : sink;
  const LoopEnd end =
      RunBlockLoop(*source, target, route, context.progress, "Converting", item.displayName);
  if (measured) context.job.trackGain = measured->Gain();
  const bool closed = sink.Close();
  if (end == LoopEnd::WriteFailed || (end == LoopEnd::Finished && !closed))
    FailWrite(context, sink.ErrorText(), result);
  output->sink.reset();

  if (end == LoopEnd::SkipNotReached) FailSkip(context, result);
  if (end == LoopEnd::NothingRead) context.job.failureDetail = kNoSamplesDetail;
  if (end != LoopEnd::Finished || !closed) {
    DeleteOutput(item.outputPath, item.path);
    return result;
  }
  // The whole 64-bit size counts: a 4 GiB output is not empty.
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(item.outputPath, ec);
  if (ec || size == 0) {
    context.job.failureDetail = ec ? ec.message() : "The output file is empty";
    DeleteOutput(item.outputPath, item.path);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace quillo
