#include "ui/RunBridge.h"

#include <QMetaObject>
#include <memory>

#include "ui/DoubleBarDialog.h"

namespace quillo {

QueuedProgress::QueuedProgress(DoubleBarDialog& dialog)
    : dialog_(dialog), barWidth_(dialog.FileBarWidth()) {}

void QueuedProgress::SetOverallText(const std::string& text) {
  QMetaObject::invokeMethod(
      &dialog_, [this, text] { dialog_.SetOverallText(text); }, Qt::QueuedConnection);
}

void QueuedProgress::SetOverallRange(int files) {
  QMetaObject::invokeMethod(
      &dialog_, [this, files] { dialog_.SetOverallRange(files); }, Qt::QueuedConnection);
}

void QueuedProgress::StepOverall() {
  QMetaObject::invokeMethod(
      &dialog_, [this] { dialog_.StepOverall(); }, Qt::QueuedConnection);
}

void QueuedProgress::SetFileText(const std::string& text) {
  QMetaObject::invokeMethod(
      &dialog_, [this, text] { dialog_.SetFileText(text); }, Qt::QueuedConnection);
}

void QueuedProgress::SetFileBar(int position) {
  QMetaObject::invokeMethod(
      &dialog_, [this, position] { dialog_.SetFileBar(position); }, Qt::QueuedConnection);
}

bool QueuedProgress::IsCancelled() const { return dialog_.IsCancelled(); }

void QueuedCells::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

void QueuedCells::SetVolumeCell(size_t file, const std::string& text) {
  Post([this, file, text] { cells_.SetVolumeCell(file, text); });
}

void QueuedCells::SetOutputCell(size_t file, const std::string& text) {
  Post([this, file, text] { cells_.SetOutputCell(file, text); });
}

void QueuedCells::EnsureVisible(size_t file) {
  Post([this, file] { cells_.EnsureVisible(file); });
}

void QueuedCells::WidenOutputColumn(int pixels) {
  Post([this, pixels] { cells_.WidenOutputColumn(pixels); });
}

bool BlockingPrompts::Call(const std::function<void()>& call) {
  std::unique_lock lock(mutex_);
  if (abandoned_) return false;
  const unsigned ticket = ++asked_;
  lock.unlock();
  QMetaObject::invokeMethod(
      &context_,
      [this, call, ticket] {
        {
          std::lock_guard guard(mutex_);
          if (abandoned_) return;
        }
        call();
        {
          std::lock_guard guard(mutex_);
          done_ = ticket;
        }
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  lock.lock();
  answered_.wait(lock, [&] { return abandoned_ || done_ >= ticket; });
  return done_ >= ticket;
}

void BlockingPrompts::Abandon() {
  {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
  }
  answered_.notify_all();
}

// Each answer lives on the heap: a question still open when the command is
// abandoned writes into it after the worker has stopped waiting.
void BlockingPrompts::Inform(const std::string& text) {
  Call([this, text] { prompts_.Inform(text); });
}

void BlockingPrompts::Warn(const std::string& text) {
  Call([this, text] { prompts_.Warn(text); });
}

void BlockingPrompts::Note(const std::string& text) {
  Call([this, text] { prompts_.Note(text); });
}

bool BlockingPrompts::AskYesNo(const std::string& text) {
  auto answer = std::make_shared<bool>(false);
  return Call([this, text, answer] { *answer = prompts_.AskYesNo(text); }) && *answer;
}

std::optional<std::string> BlockingPrompts::AskOutputFile(const std::string& suggestedPath) {
  auto answer = std::make_shared<std::optional<std::string>>();
  if (!Call([this, suggestedPath, answer] { *answer = prompts_.AskOutputFile(suggestedPath); }))
    return std::nullopt;
  return *answer;
}

void BlockingPrompts::OpenLocation(const std::string& location) {
  Call([this, location] { prompts_.OpenLocation(location); });
}

}  // namespace quillo
