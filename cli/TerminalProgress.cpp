#include "cli/TerminalProgress.h"

#include <csignal>
#include <ostream>

#include "cli/EscapeText.h"

namespace quillo {

namespace {

// Set by the signal handler; a signal handler can only reach a flag like this.
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

// Ctrl+C, a kill and a closed terminal all cancel the run the same way: the
// current output is abandoned and removed, old targets stay.
constexpr int kCancelSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {
  gInterrupted = 0;
  for (const int signal : kCancelSignals) std::signal(signal, OnInterrupt);
}

TerminalProgress::~TerminalProgress() {
  for (const int signal : kCancelSignals) std::signal(signal, SIG_DFL);
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
  line += "] " + EscapeText(file_);
  if (line.size() > 110) line.resize(110);
  err_ << "\r\033[K" << line << std::flush;
  drawn_ = true;
}

}  // namespace quillo
