#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/BackendTable.h"
#include "engine/FileItem.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"
#include "settings/ConversionSettings.h"

class QWidget;

namespace quillo {

class BlockingPrompts;
class DoubleBarDialog;
class FileListModel;
class FileListView;
class QueuedCells;
class QueuedProgress;
class Shell;

// Runs one convert command on rows of the list through the engine's entry,
// off the window's thread, `jobs` files at once: the join's save dialog
// first, then the progress dialog and the cells as files finish, and the
// first output shown in the file manager at the end. The window keeps
// handling its events meanwhile; `finished` says the command is over.
class ConversionCommand final : public QObject {
  Q_OBJECT

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
    int jobs;                // files converted at once
  };

  explicit ConversionCommand(Context context);
  // Stops a run still going (as Cancel does) and waits for it.
  ~ConversionCommand() override;

  // One output per file, or (`join`) all of them into one output. False
  // when nothing starts (no rows, the join's save dialog cancelled); then
  // `finished` does not come.
  bool Start(const std::vector<int>& rows, bool join);
  const RunResult& Result() const { return result_; }
  // Cancels the run at once, as Cancel does, without waiting: questions open
  // or still to come get the answer of a user who declines. `finished`
  // follows when the worker has stopped.
  void Stop();

 signals:
  void finished();

 private:
  // The worker thread's work: the run, then Finish queued to the window.
  void Run(bool join, const std::string& joinPath);
  void Finish();

  Context context_;
  std::vector<int> rows_;
  std::vector<FileItem> items_;  // the worker's copies of the rows' files
  std::unique_ptr<DoubleBarDialog> dialog_;
  std::unique_ptr<QueuedProgress> progress_;
  std::unique_ptr<QueuedCells> queuedCells_;
  std::unique_ptr<BlockingPrompts> prompts_;
  std::thread worker_;
  RunResult result_;
};

}  // namespace quillo
