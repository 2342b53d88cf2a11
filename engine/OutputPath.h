#pragma once

#include <set>
#include <string>

#include "engine/FileItem.h"
#include "settings/SettingsEnums.h"

namespace quillo {

// The "Output" cell of a file whose target exists under the skip policy.
extern const char* const kTargetSkippedStatus;

// Where outputs go and what happens to an existing target; the driver fills it
// from the conversion settings.
struct OutputPathOptions {
  OutputFolderMode folderMode = OutputFolderMode::SameAsSource;
  std::string folder;              // the specific folder
  bool keepTree = false;           // rebuild the source's folders below `folder`
  bool documentsFallback = false;  // retry in the documents folder when creation fails
  std::string documentsFolder;     // the user's documents folder, empty when unknown
  TargetExistsPolicy targetPolicy = TargetExistsPolicy::Rename;
  // Outputs earlier files of this run were given (FileListKey of each),
  // written yet or not: a later file that maps to one of them is renamed
  // whatever the policy, and a numbered name is never one of them, so that no
  // output of the run replaces another and the names do not depend on which
  // file finishes first.
  const std::set<std::string>* claimedThisRun = nullptr;
};

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

}  // namespace quillo
