#pragma once

#include <vector>

#include "engine/BackendTable.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"
#include "settings/ConversionSettings.h"

class QWidget;

namespace quillo {

class FileListModel;
class FileListView;
class Shell;

// Runs one convert command on rows of the list through the engine's entry:
// the join's save dialog, the progress dialog, the cells filled as files
// finish, and the first output shown in the file manager at the end.
class ConversionCommand {
 public:
  struct Context {
    QWidget* window;  // owns the dialogs
    FileListModel& model;
    FileListView& view;
    const BackendTable& backends;
    const ConversionSettings& settings;
    UserPrompts& prompts;
    Shell& shell;
    int& outputColumnWidth;  // the window's remembered "Output" width
  };

  explicit ConversionCommand(Context context) : context_(context) {}

  // One output per file, or (`join`) all of them into one output. A result
  // with no files when the save dialog of a join was cancelled.
  RunResult Run(const std::vector<int>& rows, bool join);

 private:
  Context context_;
};

}  // namespace quillo
