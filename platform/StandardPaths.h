#pragma once

#include <string>

namespace quillo {

// The user's documents folder, created when missing; empty when it cannot be
// determined or created.
std::string DocumentsFolder();

// The settings file: $QUILLO_CONFIG when set, otherwise
// "$XDG_CONFIG_HOME/Quillo 3/quillo.conf" (XDG_CONFIG_HOME defaulting to
// ~/.config).
std::string ConfigFilePath();

}  // namespace quillo
