#include "backends/files/G72xDecode.h"

#include <algorithm>

namespace quillo {

int16_t G72xDecode(int code, const G72xTables& tables, G72xState& state) {
  const int signBit = 1 << (tables.codeBits - 1);
  code &= (1 << tables.codeBits) - 1;

  // The reference works in 16-bit registers; the casts keep its wrap-around.
  const int16_t sezi = static_cast<int16_t>(G72xPredictorZero(state));
  const int16_t sez = static_cast<int16_t>(sezi >> 1);
  const int16_t sei = static_cast<int16_t>(sezi + G72xPredictorPole(state));
  const int16_t se = static_cast<int16_t>(sei >> 1);

  const int16_t y = static_cast<int16_t>(G72xStepSize(state));
  const int16_t dq = static_cast<int16_t>(G72xReconstruct(code & signBit, tables.dqln[code], y));
  const int16_t sr = static_cast<int16_t>(dq < 0 ? se - (dq & tables.magnitudeMask) : se + dq);
  const int16_t dqsez = static_cast<int16_t>(sr - se + sez);

  G72xUpdate(tables.codeBits, y, tables.wi[code], tables.fi[code], dq, sr, dqsez, state);
  // The reconstructed signal has 14 bits of range but may overshoot it;
  // clamp instead of letting the top bits wrap into a loud click.
  return static_cast<int16_t>(std::clamp(sr * 4, -32768, 32767));
}

}  // namespace quillo
