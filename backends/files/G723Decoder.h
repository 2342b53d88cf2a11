#pragma once

#include <cstdint>

#include "backends/files/G72xState.h"

namespace quillo {

// Decode one G.723 code to 16-bit linear PCM (the reconstructed signal
// times 4): 3-bit codes at 24 kbit/s, 5-bit codes at 40 kbit/s.
int16_t G723Decode24(int code, G72xState& state);
int16_t G723Decode40(int code, G72xState& state);

}  // namespace quillo
