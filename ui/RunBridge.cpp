#include "ui/RunBridge.h"

#include <QHeaderView>
#include <QMetaObject>
#include <memory>

#include "ui/DoubleBarDialog.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/ListColumns.h"
#include "ui/UiScale.h"

namespace quillo {

namespace {

// Runs `call` on the thread of `context`, after the calls queued before it.
void Queue(QObject& context, std::function<void()> call) {
  QMetaObject::invokeMethod(&context, std::move(call), Qt::QueuedConnection);
}

}  // namespace

QueuedProgress::QueuedProgress(DoubleBarDialog& dialog)
    : dialog_(dialog), barWidth_(dialog.FileBarWidth()) {}

void QueuedProgress::SetOverallText(const std::string& text) {
  Queue(dialog_, [this, text] { dialog_.SetOverallText(text); });
}

void QueuedProgress::SetOverallRange(int files) {
  Queue(dialog_, [this, files] { dialog_.SetOverallRange(files); });
}

void QueuedProgress::StepOverall() {
  Queue(dialog_, [this] { dialog_.StepOverall(); });
}

void QueuedProgress::SetFileText(const std::string& text) {
  std::lock_guard lock(mutex_);
  fileText_ = text;
  textChanged_ = true;
  PostFileState();
}

void QueuedProgress::SetFileBar(int position) {
  std::lock_guard lock(mutex_);
  fileBar_ = position;
  barChanged_ = true;
  PostFileState();
}

void QueuedProgress::PostFileState() {
  if (posted_) return;
  posted_ = true;
  Queue(dialog_, [this] { ShowFileState(); });
}

void QueuedProgress::ShowFileState() {
  std::string text;
  int bar = 0;
  bool textChanged = false, barChanged = false;
  {
    std::lock_guard lock(mutex_);
    text = fileText_;
    bar = fileBar_;
    std::swap(textChanged, textChanged_);
    std::swap(barChanged, barChanged_);
    posted_ = false;
  }
  if (textChanged) dialog_.SetFileText(text);
  if (barChanged) dialog_.SetFileBar(bar);
}

bool QueuedProgress::IsCancelled() const { return dialog_.IsCancelled(); }

void QueuedCells::SetVolumeCell(size_t file, const std::string& text) {
  Queue(context_, [this, file, text] { model_.SetVolumeCell(Row(file), text); });
}

void QueuedCells::SetOutputCell(size_t file, const std::string& text) {
  Queue(context_, [this, file, text] { model_.SetOutputCell(Row(file), text); });
}

void QueuedCells::EnsureVisible(size_t file) {
  Queue(context_, [this, file] {
    if (Row(file) >= 0) view_.ShowRow(Row(file));
  });
}

void QueuedCells::WidenOutputColumn(int pixels) {
  Queue(context_, [this, pixels] {
    if (outputWidth_ >= pixels) return;
    outputWidth_ = pixels;
    view_.header()->resizeSection(kOutputColumn, Scaled(pixels));
  });
}

bool BlockingPrompts::Call(const std::function<void()>& call) {
  const std::shared_ptr<State> state = state_;
  std::unique_lock lock(state->mutex);
  if (state->abandoned) return false;
  const unsigned ticket = ++state->asked;
  lock.unlock();
  Queue(context_, [state, call, ticket] {
    {
      std::lock_guard guard(state->mutex);
      if (state->abandoned) return;
    }
    call();
    {
      std::lock_guard guard(state->mutex);
      state->done = ticket;
    }
    state->answered.notify_all();
  });
  lock.lock();
  state->answered.wait(lock, [&] { return state->abandoned || state->done >= ticket; });
  return state->done >= ticket;
}

void BlockingPrompts::Abandon() {
  {
    std::lock_guard lock(state_->mutex);
    state_->abandoned = true;
  }
  state_->answered.notify_all();
}

// Each answer lives on the heap: a question still open when the command is
// abandoned writes into it after the worker has stopped waiting.
void BlockingPrompts::Inform(const std::string& text) {
  Call([&prompts = prompts_, text] { prompts.Inform(text); });
}

void BlockingPrompts::Warn(const std::string& text) {
  Call([&prompts = prompts_, text] { prompts.Warn(text); });
}

void BlockingPrompts::Note(const std::string& text) {
  Call([this, text] { prompts_.Note(text); });
}

bool BlockingPrompts::AskYesNo(const std::string& text) {
  auto answer = std::make_shared<bool>(false);
  return Call([&prompts = prompts_, text, answer] { *answer = prompts.AskYesNo(text); }) && *answer;
}

std::optional<std::string> BlockingPrompts::AskOutputFile(const std::string& suggestedPath) {
  auto answer = std::make_shared<std::optional<std::string>>();
  if (!Call([&prompts = prompts_, suggestedPath, answer] {
        *answer = prompts.AskOutputFile(suggestedPath);
      }))
    return std::nullopt;
  return *answer;
}

void BlockingPrompts::OpenLocation(const std::string& location) {
  Call([&prompts = prompts_, location] { prompts.OpenLocation(location); });
}

}  // namespace quillo
