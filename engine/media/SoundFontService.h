#pragma once

#include <string>

namespace quillo {

// The MIDI sound font: loaded once, then kept for later runs.
class SoundFontService {
 public:
  virtual ~SoundFontService() = default;
  virtual bool IsLoaded() const = 0;
  virtual bool Load() = 0;
  // The folder where the user may place "ct4mgm.sf2".
  virtual std::string ProgramFolder() const = 0;
};

}  // namespace quillo
