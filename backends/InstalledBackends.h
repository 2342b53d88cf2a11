#pragma once

#include "backends/bass/AudioLibrary.h"
#include "backends/bass/LibrarySoundFont.h"
#include "backends/wm/WmRuntime.h"
#include "engine/BackendTable.h"

namespace quillo {

// Every back-end of this build, set up once where the program starts and
// handed to the engine as its table. Creating it quiets the libraries' logs
// and starts the audio library with its format handlers; nothing else in the
// process sets them up. One object serves any number of runs.
class InstalledBackends {
 public:
  InstalledBackends();
  InstalledBackends(const InstalledBackends&) = delete;
  InstalledBackends& operator=(const InstalledBackends&) = delete;

  const BackendTable& table() const { return table_; }
  audio::AudioLibrary& audioLibrary() { return library_; }
  const audio::AudioLibrary& audioLibrary() const { return library_; }

 private:
  audio::AudioLibrary library_;
  LibrarySoundFont soundFont_{library_};
  WmRuntime windowsMedia_;
  BackendTable table_;
};

}  // namespace quillo
