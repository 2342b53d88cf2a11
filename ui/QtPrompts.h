#pragma once

#include "engine/UserPrompts.h"

class QWidget;

namespace quillo {

class Shell;

// The engine's questions and the window's notices as message boxes titled
// "Quillo", and the save dialog of a join.
class QtPrompts final : public UserPrompts {
 public:
  explicit QtPrompts(Shell& shell) : shell_(shell) {}
  // The window the message boxes belong to.
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Inform(const std::string& text) override;
  void Warn(const std::string& text) override;
  // A dialog per dropped picture would stop a run for nothing: left out.
  void Note(const std::string&) override {}
  bool AskYesNo(const std::string& text) override;
  // `suggestedPath` names the folder and the extension: "/music/.mp3".
  std::optional<std::string> AskOutputFile(const std::string& suggestedPath) override;
  void OpenLocation(const std::string& location) override;

 private:
  QWidget* parent_ = nullptr;
  Shell& shell_;
};

}  // namespace quillo
