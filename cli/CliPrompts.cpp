#include "cli/CliPrompts.h"

#include <ostream>

namespace quillo {

void CliPrompts::Inform(const std::string& text) { err_ << text << '\n'; }

void CliPrompts::Warn(const std::string& text) { err_ << "Warning: " << text << '\n'; }

void CliPrompts::Note(const std::string& text) { err_ << "Warning: " << text << '\n'; }

bool CliPrompts::AskYesNo(const std::string& text) {
  err_ << text << " [answered No]\n";
  return false;
}

std::optional<std::string> CliPrompts::AskOutputFile(const std::string& suggestedPath) {
  return suggestedPath;
}

void CliPrompts::OpenLocation(const std::string& location) { err_ << "See " << location << '\n'; }

}  // namespace quillo
