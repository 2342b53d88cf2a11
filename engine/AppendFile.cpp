#include "engine/PassSteps.h"

namespace quillo {

PassResult AppendFile(const PassItem& item, MediaSink& sink, int joinRate, int joinChannels,
                      PassContext& context, TagInfo* tags) {
  PassResult result;
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;
  if (tags != nullptr) {
    source->ReadTags(*tags);
    CapTagTexts(*tags);
  }
  RouteToJoin(context, route, joinRate, joinChannels);

  const LoopEnd end =
      RunBlockLoop(*source, sink, route, context.progress, "Converting", item.displayName);
  NoteLoopEnd(end, true, sink, context, result);
  if (end == LoopEnd::EndedEarly) NoteEarlyEnd(*source, context, result);
  result.ok = SourceDelivered(end);
  return result;
}

}  // namespace quillo
