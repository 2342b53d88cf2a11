#pragma once

namespace quillo {

// Loads the Windows Media reading and writing support on demand. The
// factory asks it before it opens a Windows Media file.
class WindowsMediaRuntime {
 public:
  virtual ~WindowsMediaRuntime() = default;
  virtual bool IsLoaded() const = 0;
  // Tries to load; true when the support is available afterwards.
  virtual bool Load() = 0;
};

}  // namespace quillo
