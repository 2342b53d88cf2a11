#include "engine/ConversionRun.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "backends/files/FileStartsWith.h"
#include "engine/FileItemText.h"
#include "engine/FileList.h"
#include "engine/OutputPath.h"
#include "engine/PendingOutput.h"
#include "engine/WindowsMediaRuntime.h"

namespace quillo {

const char* const kSoundFontMissingStatus = "Failure. Requires file \"ct4mgm.sf2\".";
const char* const kNoAudioStatus = "No audio in the file";
const char* const kConversionFailureStatus = "Conversion Failure";
const char* const kCancelledStatus = "Cancelled";

namespace {

const char* const kTargetSkippedStatus = "Target exists and skipped";
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
bool NeedsPreprocessing(const FileItem& file, const ConversionSettings& settings) {
  if (file.sourceKind == SourceKind::CdAudio) return settings.enableDtsForCda != 0;
  return file.sourceKind == SourceKind::Dts && FileStartsWith("RIFF", 4, file.path) &&
         FrameworkDecodesAsPcm(file.path);
}

void RemoveFile(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

// Deletes the preprocessing scratch file when the file is done with it.
struct ScratchFile {
  std::string path;
  ~ScratchFile() { RemoveFile(path); }
};

OutputPathOptions PathOptions(const ConversionSettings& settings, const std::string& documents) {
  OutputPathOptions options;
  options.folderMode = static_cast<int>(settings.destOutputFolderOpt);
  options.folder = settings.destSpecifiedFolder;
  options.keepTree = settings.createDirs != 0;
  options.documentsFallback = settings.outputFiles2MyDocuments != 0;
  options.documentsFolder = documents;
  options.targetPolicy = static_cast<int>(settings.targetExistsOpt);
  return options;
}

std::string FormatDisplayName(const OutputFormat& row) {
  if (!row.menuLabel.empty()) return std::string(row.menuLabel);
  std::string name(row.extension);
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return name;
}

// Shows the file and the overall progress for file `position` of `count`.
void AnnounceFile(size_t index, const FileItem& file, int position, int count,
                  const std::string& target, RunEnvironment& env) {
  env.list.EnsureVisible(index);
  env.list.SetVolumeCell(index, "");
  ConversionProgress& progress = env.pass.progress;
  progress.SetOverallText("Converting " + std::to_string(position) + " of " +
                          std::to_string(count) + " file(s) to " + target + "...");
  progress.StepOverall();
  progress.SetFileText("Starting to convert " + FileNameCell(file.path) + "...");
  progress.SetFileBar(0);
}

}  // namespace

std::string VolumeCellText(float gain) {
  char text[32];
  std::snprintf(text, sizeof text, "%.02f%%", static_cast<double>(gain) * 100.0);
  return text;
}

bool CheckPrerequisites(const std::vector<FileItem*>& files, RunEnvironment& env) {
  if (IsWindowsMediaRow(env.pass.row)) {
    const bool loaded =
        env.windowsMedia != nullptr && (env.windowsMedia->IsLoaded() || env.windowsMedia->Load());
    if (!loaded) {
      if (env.prompts.AskYesNo(kWindowsMediaQuestion))
        env.prompts.OpenLocation(kWindowsMediaDownloadLocation);
      return false;
    }
  }
  bool hasMidi = false;
  for (const FileItem* file : files) hasMidi = hasMidi || file->sourceKind == SourceKind::Midi;
  if (hasMidi && env.soundFont != nullptr && !env.soundFont->IsLoaded() && !env.soundFont->Load()) {
    if (env.prompts.AskYesNo(SoundFontQuestion(env.soundFont->ProgramFolder()))) {
      env.prompts.OpenLocation(env.soundFont->ProgramFolder());
      env.prompts.OpenLocation(kSoundFontDownloadLocation);
      return false;
    }
  }
  return true;
}

FileOutcome RunFilePasses(size_t index, const FileItem& file, const std::string& outputPath,
                          RunEnvironment& env, const ConvertStep& convert) {
  PassContext& pass = env.pass;
  ConversionJob& job = pass.job;
  ConversionProgress& progress = pass.progress;
  const auto cancelled = [&] { return FileOutcome{FileOutcome::Result::Cancelled, {}}; };

  PassItem item{file.path, file.sourceKind, outputPath, FileNameCell(file.path)};
  ScratchFile scratch;
  int hasAudio = 1;
  if (NeedsPreprocessing(file, pass.settings)) {
    env.list.SetOutputCell(index, "Preprocessing...");
    job.retryWithFramework = false;
    PassItem raw{file.path, file.sourceKind, "", item.displayName};
    if (PreprocessDts(raw, pass, hasAudio)) {
      scratch.path = raw.outputPath;
      item.path = raw.outputPath;
      item.kind = SourceKind::Dts;
    } else if (progress.IsCancelled()) {
      return cancelled();
    }
  }

  job.normalizeGain = -1.0f;
  if (pass.settings.volumeType == VolumeMode::Normalize) {
    env.list.SetOutputCell(index, "Normalizing...");
    hasAudio = 1;
    job.retryWithFramework = false;
    int16_t minimum = 0, maximum = 0;
    bool scanned = NormalizeScan(item, pass, minimum, maximum, hasAudio);
    if (!scanned && progress.IsCancelled()) return cancelled();
    if (!scanned && job.retryWithFramework)
      scanned = NormalizeScan(item, pass, minimum, maximum, hasAudio);
    if (scanned) job.normalizeGain = NormalizeGain(minimum, maximum);
    if (!scanned && progress.IsCancelled()) return cancelled();
  }

  env.list.SetOutputCell(index, "Converting...");
  hasAudio = 1;
  job.retryWithFramework = false;
  job.appliedGain = 1.0f;
  bool converted = convert(item, hasAudio);
  if (!converted && progress.IsCancelled()) return cancelled();
  if (!converted && job.retryWithFramework) {
    converted = convert(item, hasAudio);
    if (!converted && progress.IsCancelled()) return cancelled();
  }
  if (converted) return {FileOutcome::Result::Converted, {}};
  if (hasAudio == 0) return {FileOutcome::Result::Failed, kNoAudioStatus};
  std::string status = kConversionFailureStatus;
  if (!job.failureDetail.empty()) status += " (" + job.failureDetail + ")";
  return {FileOutcome::Result::Failed, status};
}

void RunEachFile(std::vector<FileItem*>& files, const std::string& target, RunEnvironment& env,
                 const FileStep& step, RunResult& result) {
  PassContext& pass = env.pass;
  ConversionProgress& progress = pass.progress;
  const int count = static_cast<int>(files.size());
  bool widened = false;
  progress.SetOverallRange(count);
  progress.Pump();

  for (size_t i = 0; i < files.size(); ++i) {
    FileItem& file = *files[i];
    pass.job.position = static_cast<int>(i) + 1;
    pass.job.failureDetail.clear();
    FileOutcome outcome;
    if (file.sourceKind == SourceKind::Midi &&
        (env.soundFont == nullptr || !env.soundFont->IsLoaded())) {
      outcome.status = kSoundFontMissingStatus;
    } else {
      AnnounceFile(i, file, pass.job.position, count, target, env);
      outcome = step(i, file);
    }

    if (outcome.result == FileOutcome::Result::Converted) {
      env.list.SetVolumeCell(i, VolumeCellText(pass.job.appliedGain));
      env.list.SetOutputCell(i, FileNameCell(file.outputPath));
      progress.Pump();
      if (progress.IsCancelled()) {
        result.cancelled = true;
        return;
      }
      continue;
    }
    file.outputPath.clear();
    if (outcome.status != kTargetSkippedStatus) ++result.failures;
    if (outcome.result == FileOutcome::Result::Cancelled || progress.IsCancelled()) {
      env.list.SetOutputCell(i, kCancelledStatus);
      result.cancelled = true;
      return;
    }
    // A failure with its detail needs a wider column, once.
    if (!widened && !pass.job.failureDetail.empty() &&
        outcome.status.rfind(kConversionFailureStatus, 0) == 0) {
      widened = true;
      env.list.WidenOutputColumn(500);
    }
    env.list.SetOutputCell(i, outcome.status);
  }
}

RunResult ConvertEach(std::vector<FileItem*>& files, RunEnvironment& env) {
  RunResult result;
  if (!CheckPrerequisites(files, env)) return result;
  result.started = true;
  PassContext& pass = env.pass;
  std::set<std::string> written;
  OutputPathOptions pathOptions = PathOptions(pass.settings, env.documentsFolder);
  pathOptions.writtenThisRun = &written;

  RunEachFile(
      files, FormatDisplayName(pass.row), env,
      [&](size_t i, FileItem& file) {
        std::string message;
        std::string fallbackReason;
        if (!MakeOutputPath(file, std::string(pass.row.extension), pathOptions, message,
                            &fallbackReason))
          return FileOutcome{FileOutcome::Result::Failed, message};
        if (!fallbackReason.empty()) env.list.NoteOutputFallback(i, fallbackReason);
        // The output is written beside its target and takes its name only once it
        // is complete: a failure, a cancel or a killed process never leaves a
        // partial file under the final name, and an old target survives them.
        PendingOutput pending(file.outputPath);
        if (!pending.Create())
          return FileOutcome{FileOutcome::Result::Failed,
                             "Failed to create file \"" + file.outputPath + "\""};
        FileOutcome outcome = RunFilePasses(
            i, file, pending.path(), env,
            [&](const PassItem& item, int& hasAudio) { return ConvertFile(item, pass, hasAudio); });
        if (outcome.result != FileOutcome::Result::Converted) return outcome;
        if (!pending.Commit()) {
          pass.job.failureDetail = pending.error();
          return FileOutcome{FileOutcome::Result::Failed,
                             std::string(kConversionFailureStatus) + " (" + pending.error() + ")"};
        }
        written.insert(FileListKey(file.outputPath));
        return outcome;
      },
      result);

  if (!result.cancelled && pass.settings.browseOutputFolder) {
    for (const FileItem* file : files) {
      std::error_code ec;
      if (!file->outputPath.empty() && std::filesystem::exists(file->outputPath, ec)) {
        result.revealPath = file->outputPath;
        break;
      }
    }
  }
  return result;
}

}  // namespace quillo
