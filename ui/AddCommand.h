#pragma once

#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "engine/BackendTable.h"
#include "engine/UserPrompts.h"
#include "settings/ConversionSettings.h"
#include "settings/SettingsStore.h"

class QMimeData;
class QWidget;

namespace quillo {

class FileListModel;
class FileListView;

// Adds files to the list: Add Files' dialog, Add Folder's browser, items
// dropped on the window and the paths the command line names. Each command
// reads its files in with the adding dialog while the window is busy, then
// warns about the files and folders that failed.
class AddCommand final {
 public:
  struct Context {
    QWidget* window;  // owns the dialogs
    FileListModel& model;
    FileListView& view;
    const BackendTable& backends;
    ConversionSettings& settings;  // the filters, and the folder chosen last
    SettingsStore& store;
    UserPrompts& prompts;
    // Disables the window's controls while the files are read, and enables
    // them again.
    std::function<void(bool busy)> setBusy;
  };

  explicit AddCommand(Context context);

  // Add Files' dialog, then the files it chose.
  void ChooseFiles();
  // Add Folder's browser, started where the last one ended, then the folder.
  void ChooseFolder();
  // Every file of `paths`, whatever its name.
  void AddFiles(const QStringList& paths);
  // The files below `folder` that pass the filters. The folder is stored as
  // the next browser's start.
  void AddFolder(const QString& folder);
  // Dropped items: the files below a folder that pass the filters, a file
  // tested by the filters itself.
  void AddDropped(const QStringList& paths);

 private:
  // Gives the paths to add; folders it could not search go to `missed`.
  using Gather = std::function<std::vector<std::string>(std::vector<std::string>* missed)>;
  // Adds what `gather` gives with the adding dialog (captioned while
  // `searching` folders), then warns about the files and folders that failed.
  void AddGathered(const Gather& gather, bool searching);

  Context context_;
};

// The local files among dropped items.
QStringList DroppedLocalPaths(const QMimeData* data);

}  // namespace quillo
