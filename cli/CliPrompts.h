#pragma once

#include <ostream>
#include <string>

#include "cli/TerminalProgress.h"
#include "engine/UserPrompts.h"

namespace quillo {

// The engine's questions on the command line: printed to standard error and
// answered No, so that a script never waits for input. With a progress line,
// each text is printed above it, never onto it.
class CliPrompts final : public UserPrompts {
 public:
  explicit CliPrompts(std::ostream& err, TerminalProgress* progress = nullptr)
      : err_(err), progress_(progress) {}
  void Inform(const std::string& text) override { Say(text + '\n'); }
  void Warn(const std::string& text) override { Say("Warning: " + text + '\n'); }
  void Note(const std::string& text) override { Say("Warning: " + text + '\n'); }
  bool AskYesNo(const std::string& text) override {
    Say(text + " [answered No]\n");
    return false;
  }
  std::optional<std::string> AskOutputFile(const std::string& suggestedPath) override {
    return suggestedPath;
  }
  void OpenLocation(const std::string& location) override { Say("See " + location + '\n'); }

 private:
  void Say(const std::string& text) {
    if (progress_ != nullptr)
      progress_->Print(err_, "", text);
    else
      err_ << text;
  }

  std::ostream& err_;
  TerminalProgress* progress_;
};

}  // namespace quillo
