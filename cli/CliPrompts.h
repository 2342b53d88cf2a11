#pragma once

#include <ostream>

#include "engine/UserPrompts.h"

namespace quillo {

// The engine's questions on the command line: printed to standard error and
// answered No, so that a script never waits for input.
class CliPrompts final : public UserPrompts {
 public:
  explicit CliPrompts(std::ostream& err) : err_(err) {}
  void Inform(const std::string& text) override { err_ << text << '\n'; }
  void Warn(const std::string& text) override { err_ << "Warning: " << text << '\n'; }
  void Note(const std::string& text) override { err_ << "Warning: " << text << '\n'; }
  bool AskYesNo(const std::string& text) override {
    err_ << text << " [answered No]\n";
    return false;
  }
  std::optional<std::string> AskOutputFile(const std::string& suggestedPath) override {
    return suggestedPath;
  }
  void OpenLocation(const std::string& location) override { err_ << "See " << location << '\n'; }

 private:
  std::ostream& err_;
};

}  // namespace quillo
