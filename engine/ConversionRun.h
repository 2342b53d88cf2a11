#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/ConvertPass.h"
#include "engine/FileItem.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"

namespace quillo {

extern const char* const kSoundFontMissingStatus;
extern const char* const kNoAudioStatus;
extern const char* const kConversionFailureStatus;
extern const char* const kCancelledStatus;

// Everything a run needs besides its files, and the results it fills in.
struct RunEnvironment {
  PassContext& pass;
  UserPrompts& prompts;
  RunListView& list;
  std::string documentsFolder;  // the output fallback folder; empty when unknown
  RunResult result;

  // Shows a cell and keeps it in the file's result.
  void SetOutputCell(size_t file, const std::string& text);
  void SetVolumeCell(size_t file, const std::string& text);
};

// "Volume" cell text for a gain: "100.00%".
std::string VolumeCellText(float gain);

// Whether the run may start: the Windows Media and MIDI prerequisites. A
// false result ends the command.
bool CheckPrerequisites(const std::vector<FileItem*>& files, RunEnvironment& env);

// Converts each file into its own output, writing its cells as it goes.
void ConvertEach(std::vector<FileItem*>& files, RunEnvironment& env);

// How the passes of one file ended.
struct FileOutcome {
  FileResult::State state = FileResult::State::Failed;
  std::string status;  // the "Output" cell text of a failure
};

// Runs the preprocessing, normalize and convert passes of the file at `index`,
// each with one retry through the framework, naming each step in its "Output"
// cell. `convert` is the convert or append step; it writes to `outputPath`.
using ConvertStep = std::function<PassResult(const PassItem&)>;
FileOutcome RunFilePasses(size_t index, const FileItem& file, const std::string& outputPath,
                          RunEnvironment& env, const ConvertStep& convert);

// Runs `step` for each file in turn (after the sound-font check and the
// progress announcement) and writes each outcome into the list and the
// results: the output's name and gain, or the failure; stops at a cancel.
using FileStep = std::function<FileOutcome(size_t index, FileItem& file)>;
void RunEachFile(std::vector<FileItem*>& files, const std::string& target, RunEnvironment& env,
                 const FileStep& step);

}  // namespace quillo
