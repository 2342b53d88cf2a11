#include "cli/TerminalProgress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <ostream>

#include "cli/EscapeText.h"

namespace quillo {

namespace {

// Moves to the start of the line and erases it.
constexpr char kClearLine[] = "\r\033[K";

// The width of the terminal of standard error, or 80 when it does not say.
int TerminalColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

// Cuts `line` to at most `characters` characters, never inside a UTF-8
// sequence.
void CutToCharacters(std::string& line, size_t characters) {
  size_t seen = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const bool continuation = (static_cast<unsigned char>(line[i]) & 0xc0) == 0x80;
    if (!continuation && ++seen > characters) {
      line.resize(i);
      return;
    }
  }
}

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
  // One column stays free: a line that fills the last one wraps on some terminals.
  const int columns = columns_ > 0 ? columns_ : TerminalColumns();
  CutToCharacters(line, static_cast<size_t>(std::max(columns - 1, 1)));
  err_ << kClearLine << line << std::flush;
  drawn_ = true;
}

}  // namespace quillo
