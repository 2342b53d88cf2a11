#include "engine/ConvertPass.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "engine/MeasuredSink.h"
#include "engine/PassSteps.h"

namespace quillo {

PassResult ConvertFile(const PassItem& item, PassContext& context) {
  PassResult result;
  context.job.written.reset();
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;

  std::optional<OutputSelection> output = RouteToRow(context, route, *source, result);
  if (!output) return result;
  MediaSink& sink = *output->sink;

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

  // ReplayGain values are measured on the samples as they go to the encoder.
  context.job.trackGain.reset();
  context.job.trackMeter.reset();
  std::optional<MeasuredSink> measured;
  if (WantsReplayGain(context))
    measured.emplace(sink, route.resample ? route.outputRate : route.sourceRate,
                     route.outputChannels);
  MediaSink& target = measured ? static_cast<MediaSink&>(*measured) : sink;
  const LoopEnd end =
      RunBlockLoop(*source, target, route, context.progress, "Converting", item.displayName);
  if (measured) context.job.trackGain = measured->Gain();
  if (measured && WantsAlbumGain(context)) {
    context.job.trackMeter = std::make_shared<LoudnessMeter>(false);
    measured->HandOver(*context.job.trackMeter);
  }
  const bool closed = sink.Close();
  if (closed) context.job.written = sink.Written();
  NoteLoopEnd(end, closed, sink, context, result);
  output->sink.reset();
  if (!SourceDelivered(end) || !closed) {
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
  // A source that stopped on damage keeps what was decoded, and says so.
  if (end == LoopEnd::EndedEarly) NoteEarlyEnd(*source, context, result);
  result.ok = true;
  return result;
}

}  // namespace quillo
