#pragma once

#include <string>

namespace quillo {

// The MIDI sound font: loaded once, then kept for later runs. A run calls
// Load and ProgramFolder on the thread that called the engine's entry before
// any file converts; IsLoaded also from the run's job threads, several at
// once, so it must be safe to call concurrently.
class SoundFontService {
 public:
  virtual ~SoundFontService() = default;
  virtual bool IsLoaded() const = 0;
  virtual bool Load() = 0;
  // The folder where the user may place "ct4mgm.sf2".
  virtual std::string ProgramFolder() const = 0;
};

}  // namespace quillo
