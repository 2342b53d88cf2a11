#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/ConversionProgress.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"

class QObject;

namespace quillo {

class DoubleBarDialog;
class FileListModel;
class FileListView;

// The window's side of a run on a worker thread. Nothing here touches a
// widget from the worker: display and cells are queued to the window's
// thread in call order; questions wait for the window's answer.

// The double-bar dialog as the worker sees it. The cancel flag is read
// directly (it is atomic); every other call is queued to the dialog.
class QueuedProgress final : public ConversionProgress {
 public:
  explicit QueuedProgress(DoubleBarDialog& dialog);
  void SetOverallText(const std::string& text) override;
  void SetOverallRange(int files) override;
  void StepOverall() override;
  void SetFileText(const std::string& text) override;
  int FileBarWidth() const override { return barWidth_; }
  void SetFileBar(int position) override;
  // The window's own event loop keeps running: nothing to pump.
  void Pump() override {}
  bool IsCancelled() const override;

 private:
  // The file caption and bar change thousands of times a second: only the
  // latest of each is shown, with at most one update waiting in the
  // window's queue, so the window never falls behind the workers.
  void PostFileState();
  void ShowFileState();

  DoubleBarDialog& dialog_;
  const int barWidth_;
  std::mutex mutex_;
  std::string fileText_;
  int fileBar_ = 0;
  bool textChanged_ = false;
  bool barChanged_ = false;
  bool posted_ = false;
};

// The cells a run writes, shown in the rows its files came from, each
// queued to the thread of `context`.
class QueuedCells final : public RunListView {
 public:
  // `rows[i]` is the row of the run's file i. `outputWidth` is the window's
  // remembered width of the "Output" column: a run widens it only past it.
  QueuedCells(QObject& context, FileListModel& model, FileListView& view, std::vector<int> rows,
              int& outputWidth)
      : context_(context),
        model_(model),
        view_(view),
        rows_(std::move(rows)),
        outputWidth_(outputWidth) {}
  void SetVolumeCell(size_t file, const std::string& text) override;
  void SetOutputCell(size_t file, const std::string& text) override;
  void EnsureVisible(size_t file) override;
  void WidenOutputColumn(int pixels) override;
  // The file's cells, queued before, already show how it ended.
  void FileEnded(size_t, const FileResult&) override {}

 private:
  int Row(size_t file) const { return file < rows_.size() ? rows_[file] : -1; }

  QObject& context_;
  FileListModel& model_;
  FileListView& view_;
  const std::vector<int> rows_;
  int& outputWidth_;
};

// Questions put on the thread of `context` while the worker waits for the
// answer. Once abandoned (the command is going away), waiting questions
// and later ones get the answer of a user who declines.
class BlockingPrompts final : public UserPrompts {
 public:
  BlockingPrompts(QObject& context, UserPrompts& prompts) : context_(context), prompts_(prompts) {}
  void Inform(const std::string& text) override;
  void Warn(const std::string& text) override;
  void Note(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> AskOutputFile(const std::string& suggestedPath) override;
  void OpenLocation(const std::string& location) override;
  void Abandon();

 private:
  // What the worker and the window's thread share. A question still open on
  // the window's thread when the command goes away holds it alive.
  struct State {
    std::mutex mutex;
    std::condition_variable answered;
    bool abandoned = false;
    unsigned asked = 0, done = 0;
  };

  // Runs `call` on the window's thread and waits; false when abandoned first.
  bool Call(const std::function<void()>& call);

  QObject& context_;
  UserPrompts& prompts_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace quillo
