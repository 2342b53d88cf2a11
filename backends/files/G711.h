#pragma once

#include <cstdint>

namespace quillo {

// The G.711 expansions of one 8-bit code to 16-bit linear PCM.
int16_t MuLawToLinear(uint8_t code);
int16_t ALawToLinear(uint8_t code);

}  // namespace quillo
