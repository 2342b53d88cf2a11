#include "engine/JoinRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/Albums.h"
#include "engine/CountingSink.h"
#include "engine/ExtraTagsStep.h"
#include "engine/FileItemText.h"
#include "engine/MeasuredSink.h"
#include "engine/RunLoop.h"
#include "engine/VerifyStep.h"
#include "engine/cue/CueWriter.h"
#include "engine/media/FileList.h"
#include "engine/media/PathName.h"
#include "engine/output/LoudnessMeter.h"
#include "engine/output/PendingOutput.h"

namespace quillo {

namespace {

// The highest rate and channel count (at most 2) and the widest samples
// among the files, from the values probing stored. Every file counts, MIDI
// files included.
void JoinReference(const std::vector<FileItem*>& files, int& rate, int& channels,
                   SampleFormat& format) {
  rate = 0;
  channels = 0;
  format = {};
  for (const FileItem* file : files) {
    rate = std::max(rate, file->sampleRate);
    channels = std::max(channels, file->channels);
    format = Widest(format, file->sampleFormat);
  }
  if (channels > 2) channels = 2;
  // Files that could not tell their format (a MIDI file renders at the
  // output rate) still need a usable reference.
  if (rate <= 0) rate = 44100;
  if (channels <= 0) channels = 2;
}

// Creates, configures and opens the join sink at `outputPath`; nothing (and no
// file left behind, `reason` saying why when the sink knows) when that fails.
std::optional<OutputSelection> CreateJoinSink(const std::string& outputPath, int maxRate,
                                              int maxChannels, const SampleFormat& format,
                                              PassContext& pass, std::string& reason) {
  std::optional<OutputSelection> output = SelectOutput(
      pass.row, maxRate, maxChannels, SelectionMode::Join, pass.settings, pass.backends, format);
  if (!output) return std::nullopt;
  const ConversionSettings& settings = pass.settings;
  // One output of many files: no file's name as the title, no track number.
  if (pass.row.carriesTags && settings.id3TagType == TagMode::Custom)
    output->sink->SetTags(CustomTags(settings.tags, "", 0));
  output->sink->SetPath(outputPath);
  if (!output->sink->Open()) {
    reason = output->sink->ErrorText();
    output->sink.reset();
    std::error_code ec;
    std::filesystem::remove(outputPath, ec);
    return std::nullopt;
  }
  return output;
}

// The join's output cannot be made: a warning names it and why, and every
// file's row says so too, as none of them was converted.
void FailToCreate(const std::string& outputPath, const std::string& reason, size_t files,
                  RunEnvironment& env) {
  const std::string message = CreateFileMessage(outputPath, reason);
  env.prompts.Warn(message + ".");
  for (size_t i = 0; i < files; ++i) {
    FileResult& failed = env.result.files[i];
    failed.state = FileResult::State::Failed;
    failed.failure = FileResult::Failure::Refused;
    failed.reason = message;
    env.ShowResult(i);
    ++env.result.failures;
  }
}

// A joined file as a track of the join's sheet: its title and performer from
// a cue track's sheet, else from its tags, else its name for the title.
JoinedTrack JoinedTrackOf(const FileItem& file, const TagInfo& tags, int64_t start) {
  const TagInfo& named = file.cueTrack ? file.cueTrack->tags : tags;
  JoinedTrack track{named.title, named.artist, start};
  if (track.title.empty()) track.title = StemPart(RowFileName(file));
  return track;
}

// Writes the join's sheet into its pending file; the reason when that failed.
std::optional<std::string> WriteJoinCue(PendingOutput& sheet, const std::string& outputPath,
                                        const std::vector<JoinedTrack>& tracks, int rate) {
  if (!sheet.Create()) return sheet.error();
  std::ofstream out(sheet.path(), std::ios::binary | std::ios::trunc);
  out << JoinCueSheetText(FileNamePart(outputPath), tracks, rate);
  out.close();
  if (!out) return "the cue sheet could not be written";
  return std::nullopt;
}

}  // namespace

void JoinAll(std::vector<FileItem*>& files, const std::string& outputPath, RunEnvironment& env) {
  RunResult& result = env.result;
  // The join would replace one of its own inputs: refused, as a conversion
  // refuses to overwrite its source.
  for (const FileItem* file : files) {
    if (SameFile(outputPath, file->path)) {
      FailToCreate(outputPath, "it is one of the files to join", files.size(), env);
      return;
    }
  }
  if (!CheckPrerequisites(files, env)) return;
  PassContext& pass = env.pass;
  // The join's sheet must not replace a sheet the join reads.
  const bool writeCue = pass.settings.writeJoinCue != 0;
  const std::string cuePath = JoinCueSheetPath(outputPath);
  for (const FileItem* file : files) {
    if (writeCue && (SameFile(cuePath, file->path) ||
                     (file->cueTrack && SameFile(cuePath, file->cueTrack->sheetPath)))) {
      FailToCreate(cuePath, "it is one of the files to join", files.size(), env);
      return;
    }
  }

  int maxRate = 0, maxChannels = 0;
  SampleFormat widest;
  JoinReference(files, maxRate, maxChannels, widest);
  // The joined file is written beside the target and moved into place at the end.
  PendingOutput pending(outputPath);
  std::optional<OutputSelection> join;
  std::string reason;
  if (pending.Create())
    join = CreateJoinSink(pending.path(), maxRate, maxChannels, widest, pass, reason);
  else
    reason = pending.error();
  if (!join) {
    FailToCreate(outputPath, reason, files.size(), env);
    return;
  }
  result.started = true;
  std::optional<LevelGain> loudnessGain;
  if (pass.settings.volumeType == VolumeMode::Loudness) {
    // One gain for the join: its files measured together, so that the
    // joined output keeps their balance.
    std::vector<size_t> indexes(files.size());
    for (size_t i = 0; i < files.size(); ++i) indexes[i] = i;
    const JoinShape shape{join->rate, join->channels};
    loudnessGain = MeasureTogether(files, indexes, &shape, env);
  }

  // The joined audio is measured as one track for its ReplayGain tags.
  std::optional<MeasuredSink> measured;
  if (WantsReplayGain(pass)) measured.emplace(*join->sink, join->rate, join->channels);

  // Each file's start in the joined output, for its sheet.
  CountingSink counting(measured ? static_cast<MediaSink&>(*measured) : *join->sink);
  std::vector<JoinedTrack> cueTracks;
  int joined = 0;
  bool broken = false;
  FileOutcome brokenOutcome;  // set once the output cannot take more audio
  // One stream: the files go in one after the other, in list order.
  RunFiles(files, FileNamePart(outputPath), env, 1,
           [&](size_t i, FileItem& file, RunEnvironment& job) {
             if (broken) return brokenOutcome;
             file.outputPath = outputPath;
             job.pass.job.runGain = loudnessGain;
             const int64_t start = counting.Frames();
             TagInfo tags;
             FileOutcome outcome =
                 RunFilePasses(i, file, pending.path(), job, [&](const PassItem& item) {
                   PassResult appended =
                       AppendFile(item, counting, join->rate, join->channels, job.pass, &tags);
                   broken = broken || appended.writeFailed;
                   return appended;
                 });
             if (IsWritten(outcome.state)) {
               ++joined;
               if (counting.Frames() > start) cueTracks.push_back(JoinedTrackOf(file, tags, start));
             }
             if (broken) {
               brokenOutcome = outcome;
               brokenOutcome.state = FileResult::State::Failed;
             }
             return outcome;
           });

  const std::optional<TrackGain> joinGain = measured ? measured->Gain() : std::nullopt;
  measured.reset();
  const bool closed = join->sink->Close();
  const std::string closeError = join->sink->ErrorText();
  pass.job.written = closed ? join->sink->Written() : std::nullopt;
  join->sink.reset();
  // Only a join that holds audio and was written completely takes the name
  // (replacing an old file there that the user agreed to replace); files
  // that failed were skipped, and their rows say why.
  std::string problem;
  bool verified = false;
  if (broken || !closed)
    problem = closeError.empty() ? "the output could not be written" : closeError;
  else if (joined == 0)
    problem = "no file could be joined";
  if (problem.empty() && !result.cancelled) {
    // The joined output carries the picture of the first file that went in.
    const auto first = std::find_if(files.begin(), files.end(),
                                    [](const FileItem* file) { return !file->outputPath.empty(); });
    if (first != files.end()) {
      const std::optional<std::string> failure =
          AddExtraTags((*first)->path, pending.path(), joinGain, joinGain, env);
      if (failure) problem = *failure;
    }
    if (problem.empty() && pass.settings.verifyOutput != 0) {
      const std::optional<std::string> failure =
          VerifyOutput(pending.path(), pass.job.written, pass);
      if (failure) problem = *failure;
      verified = !failure && !pass.progress.IsCancelled();
      if (pass.progress.IsCancelled()) result.cancelled = true;
    }
  }
  PendingOutput cueSheet(cuePath);
  if (writeCue && problem.empty() && !result.cancelled) {
    const std::optional<std::string> failure =
        WriteJoinCue(cueSheet, outputPath, cueTracks, join->rate);
    if (failure) problem = *failure;
  }
  if (result.cancelled || !problem.empty() || !pending.Commit()) {
    if (problem.empty() && !result.cancelled) problem = pending.error();
    pending.Discard();
    // The files that went in are lost with the output: their rows say so.
    for (size_t i = 0; i < files.size(); ++i) {
      if (files[i]->outputPath.empty()) continue;
      files[i]->outputPath.clear();
      FileResult& lost = result.files[i];
      lost.outputPath.clear();
      lost.gain.reset();
      // A partial file was counted as failed when it ended.
      if (lost.state != FileResult::State::Partial) ++result.failures;
      if (result.cancelled) {
        lost.state = FileResult::State::Cancelled;
        lost.failure = FileResult::Failure::None;
        lost.reason.clear();
      } else {
        lost.state = FileResult::State::Failed;
        lost.failure = FileResult::Failure::Conversion;
        lost.reason = problem;
      }
      env.ShowResult(i);
    }
    if (!result.cancelled) env.prompts.Warn(CreateFileMessage(outputPath, problem) + ".");
    return;
  }
  // The audio is in place; a sheet that cannot follow it is said, not hidden.
  if (writeCue && !cueSheet.Commit())
    env.prompts.Warn(CreateFileMessage(cuePath, cueSheet.error()) + ".");
  for (size_t i = 0; i < files.size(); ++i)
    if (!files[i]->outputPath.empty()) result.files[i].verified = verified;
  if (pass.settings.browseOutputFolder) result.revealPath = outputPath;
}

}  // namespace quillo
