#include "cli/TerminalProgress.h"

#include <ostream>

#include "cli/EscapeText.h"

namespace quillo {

TerminalProgress::~TerminalProgress() {
  if (enabled_ && drawn_) err_ << '\n' << std::flush;
}

void TerminalProgress::SetOverallText(const std::string& text) {
  overall_ = text;
  Draw();
}

void TerminalProgress::SetFileText(const std::string& text) {
  file_ = text;
  Draw();
}

void TerminalProgress::SetFileBar(int position) {
  if (position == bar_) return;
  bar_ = position;
  Draw();
}

void TerminalProgress::Draw() {
  if (!enabled_) return;
  std::string line = "[" + std::to_string(done_) + "/" + std::to_string(files_) + "] [";
  for (int i = 0; i < kBarWidth; ++i) line += i < bar_ ? '#' : '.';
  line += "] " + EscapeText(file_);
  if (line.size() > 110) line.resize(110);
  err_ << "\r\033[K" << line << std::flush;
  drawn_ = true;
}

}  // namespace quillo
