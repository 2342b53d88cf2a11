#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/BlockLoop.h"
#include "engine/ConvertPass.h"

namespace quillo {

// The steps the passes share: opening the source, the windows, the route and
// gain, the tags, and turning a failure into the job's detail.

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

// Routes the blocks to a sink that takes `rate` and `channels`: through the
// adapter where the rate changes or two channels are mixed into one, with one
// channel taken alone when `pick` (the mono mode says which), and with this
// file's gain, also recorded as the job's applied gain.
void RouteTo(PassContext& context, BlockRoute& route, int rate, int channels, bool pick);

// Chooses the row's output for this file (SelectOutput per file) and routes
// the blocks to it; a writer that converts the rate itself gets the source's
// blocks as they are. Nothing (no retry either) when the row has no sink.
std::optional<OutputSelection> RouteToRow(PassContext& context, BlockRoute& route,
                                          MediaSource& source, PassResult& result);

// Routes the blocks to a join's output of `rate` and `channels`.
void RouteToJoin(PassContext& context, BlockRoute& route, int rate, int channels);

// The output could not be written: a full disk or a lost device, which no
// other decoder would change.
void FailWrite(PassContext& context, const std::string& reason, PassResult& result);

// Whether the loop took all that the source gave: to its end, or up to the
// damage it stopped at.
bool SourceDelivered(LoopEnd end);

// After a loop that ended early: marks the result and tells in the job's
// detail how much of the source was converted.
void NoteEarlyEnd(MediaSource& source, PassContext& context, PassResult& result);

// The words for a source that stopped on damage: "59.5 of 150.0 s converted:
// the rest of the source is damaged" (without the "of" part when the file
// announced no length).
std::string EarlyEndDetail(const EarlyEnd& early);

// Turns how the block loop into `sink` ended into the job's detail; `closed`
// false: the sink failed to finish its file.
void NoteLoopEnd(LoopEnd end, bool closed, const MediaSink& sink, PassContext& context,
                 PassResult& result);

// Lays a WAV file's RIFF INFO fields over `tags`: that reader knows track
// numbers and numbered genres, and the library's tags (an ID3 chunk) fill the
// fields the INFO list lacks. False when `path` is no WAV file with INFO tags.
// A cue track's tags: the sheet's values, the image's tags where the sheet
// has none.
TagInfo CueTrackTags(const CueTrack& track, const TagInfo& image);

bool AddWaveInfoTags(const std::string& path, SourceKind kind, const BackendTable& backends,
                     TagInfo& tags);

// Gives the sink the tags the settings ask for: the user's or the source's.
void SetTags(MediaSink& sink, const PassItem& item, PassContext& context, MediaSource& source);

}  // namespace quillo
