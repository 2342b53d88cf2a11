#include "backends/bass/BassBackend.h"

#include "backends/bass/BassSource.h"

namespace quillo {

// The factory reaches the process's audio library, started on first use.
std::unique_ptr<MediaSource> MakeBassSource() {
  return std::make_unique<BassSource>(audio::SharedAudioLibrary());
}

}  // namespace quillo
