#include "engine/PassSteps.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "engine/cue/CueTracks.h"
#include "engine/media/FileList.h"
#include "engine/media/FixedText.h"
#include "engine/media/PathName.h"

namespace quillo {

const char* const kSkipTooLongDetail =
    "Length of the file is shorter than skipping length set at Options -> General";
const char* const kNoSamplesDetail = "The file opens, but no audio could be decoded from it";

namespace {

const char* const kConvertLengthDetail =
    "Length to convert set at Options -> General must be greater than 0";

// Skip and length windows in source frames, from the settings. False when the
// file is known to be shorter than the skip.
bool Windows(const ConversionSettings& settings, MediaSource& source, BlockRoute& route) {
  const int rate = source.GetSampleRate();
  if (settings.enableSkipLength && settings.skipLength != 0) {
    // A source that cannot tell its length is not refused here; it fails
    // only if it really ends inside the skipped part.
    const uint64_t durationMs = static_cast<uint64_t>(source.GetDurationSeconds()) * 1000;
    if (durationMs > 0 && static_cast<uint32_t>(settings.skipLength) >= durationMs) return false;
    route.skipFrames = static_cast<int64_t>(rate * (settings.skipLength * 0.001));
  }
  if (settings.enableConvertLength && settings.convertLength > 0)
    route.lengthFrames = static_cast<int64_t>(rate * (settings.convertLength * 0.001));
  return true;
}

// Narrows the windows to a cue track's part of the file: the user's skip and
// length count from the track's start and never reach past its end. False
// when nothing of the track is left to convert.
bool TrackWindow(const CueTrack& track, MediaSource& source, BlockRoute& route,
                 std::string& detail) {
  const int rate = source.GetSampleRate();
  const int64_t start = CueFrameToSample(track.startFrame, rate);
  const uint64_t durationFrames =
      static_cast<uint64_t>(source.GetDurationSeconds()) * kCueFramesPerSecond;
  if (durationFrames > 0 && static_cast<uint64_t>(track.startFrame) >= durationFrames) {
    detail = "Track " + std::to_string(track.number) +
             " of the cue sheet starts after the end of \"" + FileNamePart(track.imagePath) + "\"";
    return false;
  }
  route.skipFrames += start;
  if (track.endFrame < 0) return true;
  const int64_t left = CueFrameToSample(track.endFrame, rate) - route.skipFrames;
  if (left <= 0) {
    detail = kSkipTooLongDetail;
    return false;
  }
  route.lengthFrames = route.lengthFrames >= 0 ? std::min(route.lengthFrames, left) : left;
  return true;
}

// A length window of no time at all (a hand-edited negative length) would
// make an empty output.
bool LengthWindowValid(const ConversionSettings& settings) {
  return !settings.enableConvertLength || settings.convertLength >= 0;
}

// The file ends before the skipped part does: no retry would help.
void FailSkip(PassContext& context, PassResult& result) {
  result.retryWithFramework = false;
  context.job.failureDetail = kSkipTooLongDetail;
}

// The gain of this file, also recorded as the job's applied gain.
void ChooseGain(PassContext& context, BlockRoute& route) {
  const ConversionSettings& settings = context.settings;
  context.job.appliedGain = 1.0f;
  const bool scanned =
      settings.volumeType == VolumeMode::Normalize || settings.volumeType == VolumeMode::Loudness;
  if (scanned && context.job.normalizeGain > 0.0f) {
    route.gain = context.job.normalizeGain;
    route.applyGain = true;
  } else if (settings.volumeType == VolumeMode::Manual && settings.volume != 100) {
    route.gain = static_cast<float>(settings.volume) * 0.01f;
    route.applyGain = true;
  }
  if (route.applyGain) context.job.appliedGain = route.gain;
}

}  // namespace

bool IsRenderedKind(SourceKind kind) {
  return kind == SourceKind::Module || kind == SourceKind::Midi;
}

void DeleteOutput(const std::string& output, const std::string& source) {
  if (output.empty() || SameFile(output, source)) return;
  std::error_code ec;
  std::filesystem::remove(output, ec);
}

// A rate of 0 means no audio. A rate no real recording has comes from a
// damaged header: converted at its word, a few kilobytes would become hours
// of audio.
std::unique_ptr<MediaSource> OpenSource(const PassItem& item, PassContext& context, int renderRate,
                                        PassResult& result) {
  // A sheet listed as itself is one whose tracks could not be listed: it
  // fails with the sheet's own reason, not as a file nothing can decode.
  if (!item.cueTrack && IsCueSheetPath(item.path)) {
    context.job.failureDetail = CueSheetProblem(item.path);
    return nullptr;
  }
  OpenedSource opened =
      context.factory.Open(item.path, item.kind, renderRate, true, item.frameworkOnly);
  result.retryWithFramework = opened.dedicated;
  result.noAudio = opened.noAudio;
  if (!opened.detail.empty()) context.job.failureDetail = opened.detail;
  std::unique_ptr<MediaSource> source = std::move(opened.source);
  if (!source) return nullptr;
  const int rate = source->GetSampleRate();
  if (rate <= 0) {
    result.noAudio = true;
    return nullptr;
  }
  if (!IsSaneSampleRate(rate)) {
    context.job.failureDetail = UnsupportedRateDetail(rate);
    return nullptr;
  }
  return source;
}

std::unique_ptr<MediaSource> OpenForConversion(const PassItem& item, PassContext& context,
                                               BlockRoute& route, PassResult& result) {
  std::unique_ptr<MediaSource> source =
      OpenSource(item, context, RenderRate(context.row, context.settings), result);
  if (!source) return nullptr;
  if (!LengthWindowValid(context.settings)) {
    result.retryWithFramework = false;
    context.job.failureDetail = kConvertLengthDetail;
    return nullptr;
  }
  route.sourceRate = source->GetSampleRate();
  route.sourceChannels = source->GetChannels();
  route.stopAtProgressTotal = IsRenderedKind(item.kind);
  if (!Windows(context.settings, *source, route)) {
    FailSkip(context, result);
    return nullptr;
  }
  std::string trackProblem;
  if (item.cueTrack && !TrackWindow(*item.cueTrack, *source, route, trackProblem)) {
    result.retryWithFramework = false;
    context.job.failureDetail = trackProblem;
    return nullptr;
  }
  return source;
}

void RouteTo(PassContext& context, BlockRoute& route, int rate, int channels, bool pick) {
  const ConversionSettings& settings = context.settings;
  route.outputRate = rate;
  route.outputChannels = channels;
  const bool mixToMono =
      channels < route.sourceChannels && settings.monoType == MonoMixMode::Average;
  route.resample = rate != route.sourceRate || mixToMono;
  // The channel taken alone: 1 left, 2 right, 0 none (a stored mode that is
  // neither; the sink then takes the left channel of the pair).
  if (pick && settings.monoType == MonoMixMode::LeftOnly) route.pickChannel = 1;
  if (pick && settings.monoType == MonoMixMode::RightOnly) route.pickChannel = 2;
  ChooseGain(context, route);
}

std::optional<OutputSelection> RouteToRow(PassContext& context, BlockRoute& route,
                                          MediaSource& source, PassResult& result) {
  std::optional<OutputSelection> output =
      SelectOutput(context.row, route.sourceRate, route.sourceChannels, SelectionMode::PerFile,
                   context.settings, context.backends, source.GetSampleFormat());
  if (!output) {
    result.retryWithFramework = false;
    return std::nullopt;
  }
  RouteTo(context, route, output->rate, output->channels, output->pickChannel);
  if (output->sink->ResamplesItself()) {
    route.resample = false;
    route.outputRate = route.sourceRate;
  }
  return output;
}

void RouteToJoin(PassContext& context, BlockRoute& route, int rate, int channels) {
  const bool pick =
      channels < route.sourceChannels && context.settings.monoType != MonoMixMode::Average;
  RouteTo(context, route, rate, channels, pick);
}

void FailWrite(PassContext& context, const std::string& reason, PassResult& result) {
  result.retryWithFramework = false;
  result.writeFailed = true;
  context.job.failureDetail = reason.empty() ? "The output file could not be written" : reason;
}

bool SourceDelivered(LoopEnd end) { return end == LoopEnd::Finished || end == LoopEnd::EndedEarly; }

std::string EarlyEndDetail(const EarlyEnd& early) {
  // Locale-independent digits: the status goes into logs and JSON.
  std::string detail = FixedText(early.decodedSeconds, 1);
  if (early.announcedSeconds > 0) detail += " of " + FixedText(early.announcedSeconds, 1);
  return detail + " s converted: the rest of the source is damaged";
}

void NoteEarlyEnd(MediaSource& source, PassContext& context, PassResult& result) {
  const std::optional<EarlyEnd> early = source.EndedEarly();
  if (!early) return;
  result.endedEarly = true;
  result.retryWithFramework = false;
  context.job.failureDetail = EarlyEndDetail(*early);
}

void NoteLoopEnd(LoopEnd end, bool closed, const MediaSink& sink, PassContext& context,
                 PassResult& result) {
  if (end == LoopEnd::WriteFailed || (SourceDelivered(end) && !closed))
    FailWrite(context, sink.ErrorText(), result);
  if (end == LoopEnd::SkipNotReached) FailSkip(context, result);
  if (end == LoopEnd::NothingRead) context.job.failureDetail = kNoSamplesDetail;
}

}  // namespace quillo
