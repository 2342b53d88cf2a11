#pragma once

#include <cstdint>

#include "backends/files/G72xState.h"

namespace quillo {

// One coding's tables: the log magnitude, the scale factor weight and the
// speed control input of each code.
struct G72xTables {
  int codeBits;
  const int* dqln;
  const int* wi;
  const int* fi;
  // Mask of the magnitude bits of a negative difference.
  int magnitudeMask;
};

// Decodes one code with the tables of its coding; the shared steps of every
// G.721 and G.723 decoder.
int16_t G72xDecode(int code, const G72xTables& tables, G72xState& state);

}  // namespace quillo
