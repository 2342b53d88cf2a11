#pragma once

#include <memory>
#include <string>

#include "engine/BlockLoop.h"
#include "engine/ConvertPass.h"

namespace quillo {

// The steps the passes share: opening the source, the windows, the gain, the
// tags, and turning a failure into the job's detail.

// Sources that render (MIDI, modules) end at their reported length.
bool IsRenderedKind(SourceKind kind);

// Removes a failed output, never the source itself.
void DeleteOutput(const std::string& output, const std::string& source);

// Opens the source of a pass and notes in `result` whether a failure may be
// retried and whether the file has audio; null on failure.
std::unique_ptr<MediaSource> OpenSource(const PassItem& item, PassContext& context, int renderRate,
                                        PassResult& result);

// Opens the source of a convert or append pass and fills the route's source
// side and windows; null when the file cannot be converted.
std::unique_ptr<MediaSource> OpenForConversion(const PassItem& item, PassContext& context,
                                               BlockRoute& route, PassResult& result);

// The gain of this file, also recorded as the job's applied gain.
void ChooseGain(PassContext& context, BlockRoute& route);

// The channel taken alone: 1 left, 2 right, 0 none (a stored mode that is
// neither; the sink then takes the left channel of the pair).
int PickMode(const ConversionSettings& settings);

// The file ends before the skipped part does: no retry would help.
void FailSkip(PassContext& context, PassResult& result);

// The output could not be written: a full disk or a lost device, which no
// other decoder would change.
void FailWrite(PassContext& context, const std::string& reason, PassResult& result);

// Gives the sink the tags the settings ask for: the user's or the source's.
void SetTags(MediaSink& sink, const PassItem& item, PassContext& context, MediaSource& source);

}  // namespace quillo
