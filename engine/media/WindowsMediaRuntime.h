#pragma once

#include <optional>
#include <vector>

#include "engine/media/WindowsMediaFormat.h"

namespace quillo {

// Loads the Windows Media reading and writing support on demand. The
// factory asks it before it opens a Windows Media file, the driver before it
// writes one. The jobs of a run share one object: an implementation is safe
// to call from several threads at once.
class WindowsMediaRuntime {
 public:
  virtual ~WindowsMediaRuntime() = default;
  virtual bool IsLoaded() const = 0;
  // Tries to load; true when the support is available afterwards.
  virtual bool Load() = 0;
  // The encoding formats the writer offers, in list order; empty until the
  // support is loaded.
  virtual std::vector<WindowsMediaFormat> Formats() const = 0;
  // The offered format that comes nearest to the wanted rate, bit rate and
  // channel count; nothing when none has that channel count.
  virtual std::optional<WindowsMediaFormat> PickFormat(int rate, int bitRate,
                                                       int channels) const = 0;
};

}  // namespace quillo
