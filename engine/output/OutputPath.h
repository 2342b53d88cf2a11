#pragma once

#include <map>
#include <set>
#include <string>

#include "engine/FileItem.h"
#include "engine/media/TagInfo.h"
#include "settings/SettingsEnums.h"

namespace quillo {

// The "Output" cell of a file whose target exists under the skip policy.
extern const char* const kTargetSkippedStatus;

// "Failed to create file "PATH" (REASON)": the output that was asked for and
// the system's reason it could not be made (left out when none is known).
std::string CreateFileMessage(const std::string& path, const std::string& reason);

// Where outputs go and what happens to an existing target; the driver fills it
// from the conversion settings.
struct OutputPathOptions {
  OutputFolderMode folderMode = OutputFolderMode::SameAsSource;
  std::string folder;              // the specific folder
  bool keepTree = false;           // rebuild the source's folders below `folder`
  bool documentsFallback = false;  // retry in the documents folder when creation fails
  std::string documentsFolder;     // the user's documents folder, empty when unknown
  TargetExistsPolicy targetPolicy = TargetExistsPolicy::Rename;
  // A name pattern ("{artist}/{album}/{track:02} {title}") that NamePatternProblem
  // accepts, filled from `nameTags` (none: every tag missing); empty: outputs
  // are named after their sources. Its folders go below where the output
  // would go otherwise.
  std::string namePattern;
  const TagInfo* nameTags = nullptr;
  // Outputs earlier files of this run were given (FileListKey of each),
  // written yet or not: a later file that maps to one of them is renamed
  // whatever the policy, and a numbered name is never one of them, so that no
  // output of the run replaces another and the names do not depend on which
  // file finishes first.
  const std::set<std::string>* claimedThisRun = nullptr;
  // The next number to try per base name ("/out/song" -> 4 once song_3 was
  // given), kept by the run so that many files of one name are numbered in
  // one step each instead of trying every number given before.
  std::map<std::string, long>* nextNumbers = nullptr;
  // What a run learns once per folder: the list key of each output folder,
  // and the folders where a new output has been shown to be creatable (the
  // conversion still reports a file it cannot create there).
  std::map<std::string, std::string>* folderKeys = nullptr;
  std::set<std::string>* provenFolders = nullptr;
};

// The list key (FileListKey) of an output path, its folder resolved once per
// run through options.folderKeys when given.
std::string OutputListKey(const std::string& path, const OutputPathOptions& options);

// Chooses the output path of `item` for the output extension `extension`
// ("mp3"), creating missing folders and proving that the file can be created.
// On success sets item.outputPath and returns true; otherwise leaves it alone,
// sets `message` to the text for the file's "Output" cell and returns false.
// When the output had to go to the documents folder instead of the chosen one,
// `fallbackReason` (if given) receives the message of the failed attempt.
//
// An existing target under the overwrite policy is not touched here: the
// conversion writes through a PendingOutput and replaces it only on success.
bool MakeOutputPath(FileItem& item, const std::string& extension, const OutputPathOptions& options,
                    std::string& message, std::string* fallbackReason = nullptr);

// The path the join's save dialog starts with: the folder the outputs go to
// and the first source's name with the output extension ("/music/a.mp3"),
// so the dialog offers a name instead of a bare extension. The folder is the specific
// one, or the first source's folder when outputs go beside their sources or
// no specific folder is set.
std::string SuggestedJoinPath(OutputFolderMode mode, const std::string& folder,
                              const std::string& firstSource, const std::string& extension);

}  // namespace quillo
