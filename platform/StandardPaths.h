#pragma once

#include <string>

namespace quillo {

// The user's documents folder, whether it exists or not (the output naming
// creates it when an output goes there); empty when it cannot be determined.
std::string DocumentsFolder();

// The settings file: $QUILLO_CONFIG when set, otherwise
// "$XDG_CONFIG_HOME/Quillo 3/quillo.conf" (XDG_CONFIG_HOME defaulting to
// ~/.config).
std::string ConfigFilePath();

}  // namespace quillo
