#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/ConvertPass.h"
#include "engine/FileItem.h"
#include "engine/SoundFontService.h"
#include "engine/UserPrompts.h"

namespace quillo {

// Where the driver writes each file's "Volume" and "Output" cells.
class RunListView {
 public:
  virtual ~RunListView() = default;
  virtual void SetVolumeCell(size_t file, const std::string& text) = 0;
  virtual void SetOutputCell(size_t file, const std::string& text) = 0;
  virtual void EnsureVisible(size_t /*file*/) {}
  // Widens the "Output" column once a long failure text needs the room.
  virtual void WidenOutputColumn(int /*pixels*/) {}
  // The file's output went to the documents folder because the chosen folder
  // failed with `reason`; its output path is in the FileItem.
  virtual void NoteOutputFallback(size_t /*file*/, const std::string& /*reason*/) {}
};

extern const char* const kSoundFontMissingStatus;
extern const char* const kNoAudioStatus;
extern const char* const kConversionFailureStatus;
extern const char* const kCancelledStatus;

// What a run leaves for the front end.
struct RunResult {
  bool started = false;     // false: a prerequisite ended the command
  bool cancelled = false;
  int failures = 0;         // files that neither converted nor were skipped by the policy
  std::string revealPath;   // the first output to show in the file browser; empty for none
};

// Everything a run needs besides its files.
struct RunEnvironment {
  PassContext& pass;
  UserPrompts& prompts;
  RunListView& list;
  SoundFontService* soundFont = nullptr;     // null: MIDI files fail
  WindowsMediaRuntime* windowsMedia = nullptr;
  std::string documentsFolder;  // the output fallback folder; empty when unknown
};

// "Volume" cell text for a gain: "100.00%".
std::string VolumeCellText(float gain);

// Whether the run may start: the Windows Media and MIDI prerequisites. A
// false result ends the command.
bool CheckPrerequisites(const std::vector<FileItem*>& files, RunEnvironment& env);

// Converts each file into its own output, writing its cells as it goes.
RunResult ConvertEach(std::vector<FileItem*>& files, RunEnvironment& env);

// How one file of a run ended.
struct FileOutcome {
  enum class Result { Converted, Failed, Cancelled };
  Result result = Result::Failed;
  std::string status;  // the "Output" cell text of a failure
};

// Runs the preprocessing, normalize and convert passes of the file at `index`,
// each with one retry through the framework, naming each step in its "Output"
// cell. `convert` is the convert or append step; it writes to `outputPath`.
using ConvertStep = std::function<bool(const PassItem&, int& hasAudio)>;
FileOutcome RunFilePasses(size_t index, const FileItem& file, const std::string& outputPath,
                          RunEnvironment& env, const ConvertStep& convert);

// Runs `step` for each file in turn (after the sound-font check and the
// progress announcement) and writes each outcome into the list: the output's
// name and gain, or the failure; stops at a cancel.
using FileStep = std::function<FileOutcome(size_t index, FileItem& file)>;
void RunEachFile(std::vector<FileItem*>& files, const std::string& target, RunEnvironment& env,
                 const FileStep& step, RunResult& result);

}  // namespace quillo
