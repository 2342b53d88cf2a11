#include "engine/BackendTable.h"

namespace quillo {

std::vector<SourceBackend> BackendTable::Candidates(SourceKind kind) const {
  const auto row = candidates.find(kind);
  if (row == candidates.end() || row->second.empty()) return {SourceBackend::Framework};
  return row->second;
}

std::unique_ptr<MediaSource> BackendTable::MakeSource(SourceBackend backend,
                                                      bool fullDecoding) const {
  const auto maker = sources.find(backend);
  return maker == sources.end() || !maker->second ? nullptr : maker->second(fullDecoding);
}

std::unique_ptr<MediaSink> BackendTable::MakeSink(FormatBackend backend) const {
  const auto maker = sinks.find(backend);
  return maker == sinks.end() || !maker->second ? nullptr : maker->second();
}

}  // namespace quillo
