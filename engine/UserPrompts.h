#pragma once

#include <optional>
#include <string>

namespace quillo {

// The questions and notices the engine puts to the user. The window answers
// with dialogs, the command line from its flags, tests with scripted answers.
//
// Threads: the engine calls it on the thread that called its entry (a
// conversion, ProbeFile, ProbeFiles) and, while several files convert at
// once, on the run's job threads too, one call at a time: a question holds
// the run's prompt lock until it is answered, so a second job that asks
// waits, while the other jobs go on converting and may call the progress
// display and the list meanwhile.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  virtual void Inform(const std::string& text) = 0;
  virtual void Warn(const std::string& text) = 0;
  // A notice that needs no answer and stops nothing (a picture that was
  // dropped). The command line prints it; the window leaves it out.
  virtual void Note(const std::string& text) = 0;
  virtual bool AskYesNo(const std::string& text) = 0;
  // Asks where to save one output file; empty when the user cancelled.
  virtual std::optional<std::string> AskOutputFile(const std::string& suggestedPath) = 0;
  // Opens a web location or file in the desktop's handler.
  virtual void OpenLocation(const std::string& location) = 0;
};

}  // namespace quillo
