#pragma once

#include <QString>
#include <string>
#include <utility>

namespace quillo {

// What the desktop does for the window: open a file, folder, web address or
// e-mail in its handler, and show a file in the file manager. Tests record.
class Shell {
 public:
  virtual ~Shell() = default;
  // A local path or an address with a scheme ("https:", "mailto:").
  virtual void Open(const std::string& location) = 0;
  // Shows the file's folder with the file selected.
  virtual void Reveal(const std::string& path) = 0;
  // A notice in the desktop's notification area; nothing where the desktop
  // has none.
  virtual void Notify(const std::string& /*title*/, const std::string& /*text*/) {}
};

// The desktop's own handlers: QDesktopServices, and the file manager's
// "ShowItems" call on the session bus with the folder as the fallback
// whenever the file manager cannot be reached (no bus, no such service, an
// error or no answer).
class DesktopShell final : public Shell {
 public:
  // `busName` names another D-Bus connection than the session bus (tests).
  explicit DesktopShell(QString busName = {}) : busName_(std::move(busName)) {}
  void Open(const std::string& location) override;
  void Reveal(const std::string& path) override;
  // Through the freedesktop notification service, when the bus has one.
  void Notify(const std::string& title, const std::string& text) override;

 private:
  QString busName_;
};

}  // namespace quillo
