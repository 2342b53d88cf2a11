#include "cli/TerminalProgress.h"

#include <ostream>

#include "cli/EscapeText.h"

namespace quillo {

namespace {

// Moves to the start of the line and erases it.
constexpr char kClearLine[] = "\r\033[K";

}  // namespace

TerminalProgress::~TerminalProgress() {
  if (enabled_ && drawn_) err_ << '\n' << std::flush;
}

void TerminalProgress::SetOverallText(const std::string& text) {
  std::lock_guard lock(mutex_);
  overall_ = text;
  Draw();
}

void TerminalProgress::SetOverallRange(int files) {
  std::lock_guard lock(mutex_);
  files_ = files;
}

void TerminalProgress::StepOverall() {
  std::lock_guard lock(mutex_);
  ++done_;
}

void TerminalProgress::SetFileText(const std::string& text) {
  std::lock_guard lock(mutex_);
  file_ = text;
  Draw();
}

void TerminalProgress::SetFileBar(int position) {
  std::lock_guard lock(mutex_);
  if (position == bar_) return;
  bar_ = position;
  Draw();
}

void TerminalProgress::Print(std::ostream& out, const std::string& outText,
                             const std::string& errText) {
  std::lock_guard lock(mutex_);
  const bool redraw = enabled_ && drawn_;
  if (redraw) err_ << kClearLine;
  if (!errText.empty() || redraw) err_ << errText << std::flush;
  out << outText << std::flush;
  if (redraw) Draw();
}

// Called with the mutex held.
void TerminalProgress::Draw() {
  if (!enabled_) return;
  std::string line = "[" + std::to_string(done_) + "/" + std::to_string(files_) + "] [";
  for (int i = 0; i < kBarWidth; ++i) line += i < bar_ ? '#' : '.';
  line += "] " + EscapeText(file_);
  if (line.size() > 110) line.resize(110);
  err_ << kClearLine << line << std::flush;
  drawn_ = true;
}

}  // namespace quillo
