#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "engine/BackendTable.h"
#include "engine/FolderSearch.h"
#include "engine/UserPrompts.h"

namespace quillo {

class FileListModel;
class FileListView;
class SingleBarDialog;

// How one adding loop went.
struct AddingResult {
  int added = 0;
  int failed = 0;
  bool cancelled = false;
  std::string failureText;  // the failed paths, one a line, at most 30 of them
  std::string detail;       // why a file failed, when that can be told
};

// The paths of one command, read with `ProbeFile` into the list one after
// the other while `dialog` shows which; a press of Cancel stops the loop
// after the current file, and the files added so far stay.
class AddingLoop {
 public:
  AddingLoop(FileListModel& model, FileListView& view, const BackendTable& backends,
             UserPrompts& prompts)
      : model_(model), view_(view), backends_(backends), prompts_(prompts) {}

  AddingResult Run(const std::vector<std::string>& candidates, SingleBarDialog& dialog);

 private:
  FileListModel& model_;
  FileListView& view_;
  const BackendTable& backends_;
  UserPrompts& prompts_;
};

// Adds folders that searching could not enter ("PATH (reason)") to the
// failures, so that the message names them with the files.
void AddMissedFolders(AddingResult& result, const std::vector<std::string>& missed);

// The message about the files that could not be added; empty when all were.
std::string AddingFailureMessage(const AddingResult& result);

// The candidates among dropped items: a folder gives the files below it that
// pass the filters, a file is tested by the filters itself. Folders that
// could not be searched go to `missed`.
std::vector<std::string> DroppedCandidates(const QStringList& paths, const CandidateFilter& filter,
                                           std::vector<std::string>* missed = nullptr);

}  // namespace quillo
