#pragma once

#include <QString>
#include <QWidget>

class QGroupBox;

namespace quillo {

class ConversionSettings;
class UserPrompts;

// One page of the options sheet. A page holds its own copies of the values it
// shows: it is given them when the sheet is made, creates its controls the
// first time it is shown, reads them back when the user leaves it, and
// writes its copies into the settings when the sheet closes with OK. A page
// never shown writes back what it was given.
class OptionsPage : public QWidget {
 public:
  explicit OptionsPage(const QString& caption) : caption_(caption) {}

  const QString& Caption() const { return caption_; }
  bool IsBuilt() const { return built_; }
  // Creates and fills the controls, once.
  void EnsureBuilt() {
    if (built_) return;
    built_ = true;
    Build();
  }
  // Reads the controls into the copies and checks them. False, after the
  // user was told why and the control concerned took the focus, keeps the
  // user on the page. Called only on a page that was shown.
  virtual bool Leave() { return true; }
  virtual void Apply(ConversionSettings& settings) const = 0;

 protected:
  virtual void Build() = 0;
  // Tells the user `text` (an exclamation), gives `control` the focus with its
  // text selected, and returns false: the end of a refused leave check.
  static bool Refuse(UserPrompts& prompts, const char* text, QWidget* control);
  // The "Encoding Options" group at the top of an encoding page, with the
  // rest of the page left empty below it.
  QGroupBox* AddEncodingGroup();

 private:
  QString caption_;
  bool built_ = false;
};

}  // namespace quillo
