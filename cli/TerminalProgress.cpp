#include "cli/TerminalProgress.h"

#include <csignal>
#include <ostream>

namespace quillo {

namespace {

// Set by the SIGINT handler; a signal handler can only reach a flag like this.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {
  gInterrupted = 0;
  std::signal(SIGINT, OnInterrupt);
}

TerminalProgress::~TerminalProgress() {
  std::signal(SIGINT, SIG_DFL);
  if (enabled_ && drawn_) err_ << '\n' << std::flush;
}

bool TerminalProgress::IsCancelled() const { return gInterrupted != 0; }

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
  line += "] " + file_;
  if (line.size() > 110) line.resize(110);
  err_ << "\r\033[K" << line << std::flush;
  drawn_ = true;
}

}  // namespace quillo
