#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/ConvertPass.h"
#include "engine/FileItem.h"
#include "engine/ResultText.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"
#include "engine/output/OutputPath.h"
#include "engine/output/PendingOutput.h"

namespace quillo {

// Everything a run needs besides its files, and the results it fills in.
struct RunEnvironment {
  PassContext& pass;
  UserPrompts& prompts;
  RunListView& list;
  std::string documentsFolder;  // the output fallback folder; empty when unknown
  RunResult& result;

  // Shows the step a file is at in its "Output" cell.
  void SetOutputCell(size_t file, const std::string& text);
  // Shows the cells of a file from its result, once it ended.
  void ShowResult(size_t file);
};

// Whether the run may start: the Windows Media and MIDI prerequisites. A
// false result ends the command.
bool CheckPrerequisites(const std::vector<FileItem*>& files, RunEnvironment& env);

// How the passes of one file ended.
struct FileOutcome {
  FileResult::State state = FileResult::State::Failed;
  FileResult::Failure failure = FileResult::Failure::None;
  std::string reason;     // what went wrong, or why the file was skipped
  bool verified = false;  // the output was decoded back and found sound
};

// A file that could not be converted (or, `partial`, only in part), with the
// system's reason when there is one.
FileOutcome ConversionFailed(const std::string& reason, bool partial = false);
// A file that never started, `message` saying why.
FileOutcome Refused(const std::string& message);

// Whether a file in `state` has its output (whole, or partial).
bool IsWritten(FileResult::State state);

// Whether a MIDI file must fail because no sound font is loaded.
bool LacksSoundFont(const FileItem& file, const BackendTable& backends);

// The tags an output of `file` is named from: read from the source through
// the back-ends' tag reader, with a WAV file's RIFF INFO fields first, as a
// conversion writes them.
TagInfo NamingTags(const FileItem& file, const BackendTable& backends);

// Output names of a run, given in input order. A name once given is claimed
// for the run, so that no later file writes it, whether or not the earlier
// file converts and whichever file finishes first.
class OutputNamer {
 public:
  OutputNamer(const PassContext& pass, const std::string& documentsFolder);
  // Sets file.outputPath (and the result's fallback reason); the outcome of a
  // file that gets no output name.
  std::optional<FileOutcome> Name(FileItem& file, FileResult& result);

 private:
  std::set<std::string> claimed_;
  std::map<std::string, long> nextNumbers_;
  std::map<std::string, std::string> folderKeys_;
  std::set<std::string> provenFolders_;
  OutputPathOptions options_;
  std::string extension_;
  const BackendTable& backends_;
  std::string patternProblem_;  // why the stored name pattern cannot name outputs
  bool readsTags_ = false;      // the pattern names a tag
};

// Converts a file that has its output name, through a temporary file beside
// the target that takes the name only when complete.
FileOutcome ConvertNamedFile(size_t index, FileItem& file, RunEnvironment& env);

// The two halves of ConvertNamedFile, for an output that waits for others
// (its album's values) between them. The first converts the file into
// `pending` (created here); the second adds the tags and pictures (the
// album's ReplayGain values `albumGain` beside the track's the job measured),
// checks the output when asked and gives it its name, failing the file when
// any of that fails. `outcome` is what the first returned.
FileOutcome ConvertIntoPending(size_t index, FileItem& file, PendingOutput& pending,
                               RunEnvironment& env);
FileOutcome CompleteOutput(const FileItem& file, PendingOutput& pending, FileOutcome outcome,
                           const std::optional<TrackGain>& albumGain, RunEnvironment& env);

// Writes how file `index` ended into its cells and result; false when the run
// stops (a cancel). `widened` tells whether the "Output" column was widened.
bool FinishFile(size_t index, FileItem& file, const FileOutcome& outcome, RunEnvironment& env,
                bool& widened);

// Sets the result's reveal path: the first output that exists, unless the run
// was cancelled or the settings say no.
void FindRevealPath(const std::vector<FileItem*>& files, RunEnvironment& env);

// Runs the preprocessing, normalize and convert passes of the file at `index`,
// each with one retry through the framework, naming each step in its "Output"
// cell. `convert` is the convert or append step; it writes to `outputPath`.
using ConvertStep = std::function<PassResult(const PassItem&)>;
FileOutcome RunFilePasses(size_t index, const FileItem& file, const std::string& outputPath,
                          RunEnvironment& env, const ConvertStep& convert);

}  // namespace quillo
