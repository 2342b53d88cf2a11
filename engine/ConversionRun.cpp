#include "engine/ConversionRun.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "engine/ExtraTagsStep.h"
#include "engine/FileItemText.h"
#include "engine/PassSteps.h"
#include "engine/VerifyStep.h"
#include "engine/WindowsMediaSupport.h"
#include "engine/media/FileList.h"
#include "engine/media/PathName.h"
#include "engine/output/LoudnessMeter.h"
#include "engine/output/NamePattern.h"
#include "engine/output/PendingOutput.h"

namespace quillo {

namespace {

const char* const kSoundFontDownloadLocation = "https://quillo.app/download/ct4mgm.sf2";

std::string SoundFontQuestion(const std::string& folder) {
  return "Dear user, to decode MIDI file, file \"ct4mgm.sf2\" is required.\nUnfortunately, the "
         "file isn't available on your computer.\n\nDo you want to download the file from our "
         "website for free now?\n\nOnce download completes, please copy the file to folder:\n\"" +
         folder + "\"\nAnd then convert your MIDI file again. Thank you.";
}

bool IsWindowsMediaRow(const OutputFormat& row) {
  return row.backend == FormatBackend::WindowsMedia;
}

// A RIFF file named ".dts" needs preprocessing only when it wraps a DTS
// stream as if it were PCM; when the framework already decodes the DTS inside,
// copying its decoded PCM as DTS would turn the audio into noise.
bool NeedsPreprocessing(const FileItem& file, const PassContext& pass) {
  if (file.sourceKind == SourceKind::CdAudio) return pass.settings.enableDtsForCda != 0;
  return file.sourceKind == SourceKind::Dts && pass.backends.wrapsDtsAsPcm &&
         pass.backends.wrapsDtsAsPcm(file.path);
}

// Deletes the preprocessing scratch file when the file is done with it.
struct ScratchFile {
  std::string path;
  ~ScratchFile() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove(path, ec);
  }
};

OutputPathOptions PathOptions(const ConversionSettings& settings, const std::string& documents) {
  OutputPathOptions options;
  options.folderMode = settings.destOutputFolderOpt;
  options.folder = settings.destSpecifiedFolder;
  options.keepTree = settings.createDirs != 0;
  options.documentsFallback = settings.outputFiles2MyDocuments != 0;
  options.documentsFolder = documents;
  options.targetPolicy = settings.targetExistsOpt;
  options.namePattern = settings.namePattern;
  return options;
}

}  // namespace

void RunEnvironment::SetOutputCell(size_t file, const std::string& text) {
  list.SetOutputCell(file, text);
}

void RunEnvironment::ShowResult(size_t file) {
  if (file >= result.files.size()) return;
  list.SetVolumeCell(file, VolumeCellText(result.files[file]));
  list.SetOutputCell(file, OutputCellText(result.files[file]));
}

FileOutcome ConversionFailed(const std::string& reason, bool partial) {
  return {partial ? FileResult::State::Partial : FileResult::State::Failed,
          FileResult::Failure::Conversion, reason};
}

FileOutcome Refused(const std::string& message) {
  return {FileResult::State::Failed, FileResult::Failure::Refused, message};
}

bool CheckPrerequisites(const std::vector<FileItem*>& files, RunEnvironment& env) {
  if (IsWindowsMediaRow(env.pass.row) &&
      !EnsureWindowsMediaRuntime(env.pass.backends.windowsMedia, &env.prompts))
    return false;
  bool hasMidi = false;
  for (const FileItem* file : files) hasMidi = hasMidi || file->sourceKind == SourceKind::Midi;
  SoundFontService* soundFont = env.pass.backends.soundFont;
  if (hasMidi && soundFont != nullptr && !soundFont->IsLoaded() && !soundFont->Load()) {
    if (env.prompts.AskYesNo(SoundFontQuestion(soundFont->ProgramFolder()))) {
      env.prompts.OpenLocation(soundFont->ProgramFolder());
      env.prompts.OpenLocation(kSoundFontDownloadLocation);
      return false;
    }
  }
  return true;
}

// A file too large for the memory left (a huge tag, a damaged header) fails
// alone; its source, sink and scratch file are released on the way out, and
// the run goes on with the next file.
FileOutcome RunFilePasses(size_t index, const FileItem& file, const std::string& outputPath,
                          RunEnvironment& env, const ConvertStep& convert) try {
  PassContext& pass = env.pass;
  ConversionJob& job = pass.job;
  ConversionProgress& progress = pass.progress;
  const FileOutcome cancelled{FileResult::State::Cancelled, {}, {}};

  PassItem item{file.path, file.sourceKind, outputPath, RowFileName(file)};
  if (file.cueTrack) item.cueTrack = &*file.cueTrack;
  ScratchFile scratch;
  // How much of a source damaged before its end the preprocessing copied.
  std::string preprocessedDamage;
  if (NeedsPreprocessing(file, pass)) {
    env.SetOutputCell(index, "Preprocessing...");
    PassItem raw{file.path, file.sourceKind, "", item.displayName};
    const PassResult preprocessed = PreprocessDts(raw, pass);
    if (preprocessed.ok) {
      if (preprocessed.endedEarly) preprocessedDamage = job.failureDetail;
      scratch.path = raw.outputPath;
      item.path = raw.outputPath;
      item.kind = SourceKind::Dts;
    } else if (progress.IsCancelled()) {
      return cancelled;
    } else if (preprocessed.noScratch) {
      return ConversionFailed(job.failureDetail);
    }
  }

  // Each pass is tried once more through the framework when a dedicated
  // back-end failed it (unless the user cancelled meanwhile).
  const auto withRetry = [&](const ConvertStep& run) {
    PassResult result = run(item);
    if (!result.ok && !progress.IsCancelled() && result.retryWithFramework) {
      PassItem framework = item;
      framework.frameworkOnly = true;
      result = run(framework);
    }
    return result;
  };

  job.normalizeGain = -1.0f;
  job.levelNote.clear();
  const VolumeMode volume = pass.settings.volumeType;
  if (job.runGain) {
    job.normalizeGain = job.runGain->gain;
    job.levelNote = job.runGain->note;
  } else if (volume == VolumeMode::Normalize || volume == VolumeMode::Loudness) {
    env.SetOutputCell(index, "Normalizing...");
    Peaks peaks;
    LoudnessMeter meter(true, true);
    LoudnessMeter* measuring = volume == VolumeMode::Loudness ? &meter : nullptr;
    const PassResult scanned =
        withRetry([&](const PassItem& it) { return NormalizeScan(it, pass, peaks, measuring); });
    if (!scanned.ok && progress.IsCancelled()) return cancelled;
    if (scanned.ok && measuring != nullptr) {
      const LevelGain level = LoudnessGain(meter, LoudnessTarget(pass.settings));
      job.normalizeGain = level.gain;
      job.levelNote = level.note;
    } else if (scanned.ok) {
      job.normalizeGain = NormalizeGain(peaks);
    }
  }

  env.SetOutputCell(index, "Converting...");
  job.appliedGain = 1.0f;
  const PassResult converted = withRetry(convert);
  if (converted.ok && !converted.endedEarly && !preprocessedDamage.empty())
    job.failureDetail = preprocessedDamage;
  if (converted.ok && (converted.endedEarly || !preprocessedDamage.empty()))
    return ConversionFailed(job.failureDetail, /*partial=*/true);
  if (converted.ok) return {FileResult::State::Converted, {}, {}};
  if (progress.IsCancelled()) return cancelled;
  if (converted.noAudio)
    return {FileResult::State::Failed, FileResult::Failure::NoAudio, kNoAudioStatus};
  return ConversionFailed(job.failureDetail);
} catch (const std::bad_alloc&) {
  env.pass.job.failureDetail = std::strerror(ENOMEM);
  return ConversionFailed(env.pass.job.failureDetail);
}

bool IsWritten(FileResult::State state) {
  return state == FileResult::State::Converted || state == FileResult::State::Partial;
}

bool LacksSoundFont(const FileItem& file, const BackendTable& backends) {
  return file.sourceKind == SourceKind::Midi &&
         (backends.soundFont == nullptr || !backends.soundFont->IsLoaded());
}

bool FinishFile(size_t index, FileItem& file, const FileOutcome& outcome, RunEnvironment& env,
                bool& widened) {
  PassContext& pass = env.pass;
  ConversionProgress& progress = pass.progress;
  RunResult& result = env.result;
  FileResult& fileResult = result.files[index];
  fileResult.state = outcome.state;
  fileResult.failure = outcome.failure;
  fileResult.reason = outcome.reason;
  if (IsWritten(outcome.state)) {
    fileResult.outputPath = file.outputPath;
    fileResult.gain = pass.job.appliedGain;
    fileResult.verified = outcome.verified;
    // An output that holds only part of its source counts as a failure.
    const bool partial = outcome.state == FileResult::State::Partial;
    if (partial) ++result.failures;
    fileResult.note = pass.job.levelNote;
    // A damaged source's status and a note on the level need the room.
    if ((partial || !fileResult.note.empty()) && !widened) {
      widened = true;
      env.list.WidenOutputColumn(500);
    }
    env.ShowResult(index);
    progress.Pump();
    if (!progress.IsCancelled()) return true;
    result.cancelled = true;
    return false;
  }
  file.outputPath.clear();
  fileResult.outputPath.clear();
  fileResult.gain.reset();
  if (outcome.state == FileResult::State::Cancelled || progress.IsCancelled()) {
    fileResult.state = FileResult::State::Cancelled;
    fileResult.failure = FileResult::Failure::None;
    fileResult.reason.clear();
    ++result.failures;
    env.ShowResult(index);
    result.cancelled = true;
    return false;
  }
  if (outcome.state != FileResult::State::Skipped) ++result.failures;
  // A failure with its detail needs a wider column, once.
  if (!widened && outcome.failure == FileResult::Failure::Conversion && !outcome.reason.empty()) {
    widened = true;
    env.list.WidenOutputColumn(500);
  }
  env.ShowResult(index);
  return true;
}

TagInfo NamingTags(const FileItem& file, const BackendTable& backends) {
  // Every output name learns its file's tags here: a row that comes with tags
  // of its own needs only this function to change.
  TagInfo tags;
  if (backends.readTags) backends.readTags(file.path, tags);
  CapTagTexts(tags);
  AddWaveInfoTags(file.path, file.sourceKind, backends, tags);
  if (file.cueTrack) tags = CueTrackTags(*file.cueTrack, tags);
  return tags;
}

OutputNamer::OutputNamer(const PassContext& pass, const std::string& documentsFolder)
    : options_(PathOptions(pass.settings, documentsFolder)),
      extension_(pass.row.extension),
      backends_(pass.backends),
      // A hand-edited settings file may hold a pattern the options refuse.
      patternProblem_(NamePatternProblem(pass.settings.namePattern)),
      readsTags_(NamePatternUsesTags(pass.settings.namePattern)) {
  options_.claimedThisRun = &claimed_;
  options_.nextNumbers = &nextNumbers_;
  options_.folderKeys = &folderKeys_;
  options_.provenFolders = &provenFolders_;
}

std::optional<FileOutcome> OutputNamer::Name(FileItem& file, FileResult& result) {
  if (!patternProblem_.empty()) return Refused(patternProblem_);
  std::string message;
  std::string fallbackReason;
  OutputPathOptions options = options_;
  TagInfo tags;
  if (readsTags_) {
    tags = NamingTags(file, backends_);
    options.nameTags = &tags;
  }
  // A cue track is named as the track, beside its image.
  FileItem named = file;
  if (file.cueTrack)
    named.path = (std::filesystem::path(file.path).parent_path() / RowFileName(file)).string();
  if (!MakeOutputPath(named, extension_, options, message, &fallbackReason)) {
    if (message == kTargetSkippedStatus)
      return FileOutcome{FileResult::State::Skipped, FileResult::Failure::None, message};
    return Refused(message);
  }
  file.outputPath = named.outputPath;
  if (file.cueTrack && SameFile(file.outputPath, file.path)) {
    file.outputPath.clear();
    return Refused(
        "The track's output would replace the image it is cut from. Please output "
        "files to a custom folder.");
  }
  result.fallbackReason = fallbackReason;
  claimed_.insert(OutputListKey(file.outputPath, options_));
  return std::nullopt;
}

FileOutcome ConvertIntoPending(size_t index, FileItem& file, PendingOutput& pending,
                               RunEnvironment& env) {
  // The output is written beside its target and takes its name only once it
  // is complete: a failure, a cancel or a killed process never leaves a
  // partial file under the final name, and an old target survives them.
  if (!pending.Create()) return Refused(CreateFileMessage(file.outputPath, pending.error()));
  return RunFilePasses(index, file, pending.path(), env,
                       [&](const PassItem& item) { return ConvertFile(item, env.pass); });
}

FileOutcome ConvertNamedFile(size_t index, FileItem& file, RunEnvironment& env) {
  PendingOutput pending(file.outputPath);
  const FileOutcome outcome = ConvertIntoPending(index, file, pending, env);
  if (!IsWritten(outcome.state)) return outcome;
  return CompleteOutput(file, pending, outcome, std::nullopt, env);
}

FileOutcome CompleteOutput(const FileItem& file, PendingOutput& pending, FileOutcome outcome,
                           const std::optional<TrackGain>& albumGain, RunEnvironment& env) {
  PassContext& pass = env.pass;
  // Tags and pictures go into the temporary file too: a write that fails
  // there fails the file, and the old target stays.
  std::optional<std::string> failure =
      AddExtraTags(file.path, pending.path(), pass.job.trackGain, albumGain, env);
  // Checked as it will be kept: with its tags, before it takes the name.
  const bool verify = pass.settings.verifyOutput != 0 && !failure;
  if (verify) failure = VerifyOutput(pending.path(), pass.job.written, pass);
  if (pass.progress.IsCancelled()) return FileOutcome{FileResult::State::Cancelled};
  if (!failure && !pending.Commit()) failure = pending.error();
  if (failure) {
    pass.job.failureDetail = *failure;
    return ConversionFailed(*failure);
  }
  outcome.verified = verify;
  return outcome;
}

void FindRevealPath(const std::vector<FileItem*>& files, RunEnvironment& env) {
  if (env.result.cancelled || !env.pass.settings.browseOutputFolder) return;
  for (const FileItem* file : files) {
    std::error_code ec;
    if (!file->outputPath.empty() && std::filesystem::exists(file->outputPath, ec)) {
      env.result.revealPath = file->outputPath;
      return;
    }
  }
}

}  // namespace quillo
