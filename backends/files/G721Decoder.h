#pragma once

#include <cstdint>

#include "backends/files/G72xState.h"

namespace quillo {

// Decodes one 4-bit G.721 (32 kbit/s) code to 16-bit linear PCM: the
// reconstructed signal times 4.
int16_t G721Decode(int code, G72xState& state);

}  // namespace quillo
