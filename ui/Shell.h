#pragma once

#include <string>

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
};

// The desktop's own handlers: QDesktopServices, and the file manager's
// "ShowItems" call on the session bus with the folder as the fallback.
class DesktopShell final : public Shell {
 public:
  void Open(const std::string& location) override;
  void Reveal(const std::string& path) override;
};

}  // namespace quillo
