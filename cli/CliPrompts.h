#pragma once

#include <iosfwd>

#include "engine/UserPrompts.h"

namespace quillo {

// The engine's questions on the command line: printed to standard error and
// answered No, so that a script never waits for input.
class CliPrompts final : public UserPrompts {
 public:
  explicit CliPrompts(std::ostream& err) : err_(err) {}
  void Inform(const std::string& text) override;
  void Warn(const std::string& text) override;
  void Note(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> AskOutputFile(const std::string& suggestedPath) override;
  void OpenLocation(const std::string& location) override;

 private:
  std::ostream& err_;
};

}  // namespace quillo
