#include "backends/files/G72xState.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace quillo {

void G72xState::Reset() {
  yl = 34816;
  yu = 544;
  dms = 0;
  dml = 0;
  ap = 0;
  for (int i = 0; i < 2; ++i) {
    a[i] = 0;
    pk[i] = 0;
    sr[i] = 32;
  }
  for (int i = 0; i < 6; ++i) {
    b[i] = 0;
    dq[i] = 32;
  }
  td = false;
}

namespace {

// The count of powers of two 1, 2, 4 ... 0x4000 that do not exceed `value`:
// the position of its highest set bit, at most 15.
int Quan(int value) {
  return value <= 0 ? 0
                    : std::min(static_cast<int>(std::bit_width(static_cast<unsigned>(value))), 15);
}

// Multiplies a predictor coefficient by a signal held in the standard's
// floating form (4-bit exponent, 6-bit mantissa, sign in bit 10 and up).
int FloatMultiply(int an, int srn, int rounding) {
  const int16_t anmag = static_cast<int16_t>(an > 0 ? an : ((-an) & 0x1FFF));
  const int16_t anexp = static_cast<int16_t>(Quan(anmag) - 6);
  const int16_t anmant =
      static_cast<int16_t>(anmag == 0 ? 32 : (anexp >= 0 ? anmag >> anexp : anmag << -anexp));
  const int16_t wanexp = static_cast<int16_t>(anexp + ((srn >> 6) & 0xF) - 13);
  const int16_t wanmant = static_cast<int16_t>((anmant * (srn & 0x3F) + rounding) >> 4);
  const int16_t retval =
      static_cast<int16_t>(wanexp >= 0 ? ((wanmant << wanexp) & 0x7FFF) : (wanmant >> -wanexp));
  return (an ^ srn) < 0 ? -retval : retval;
}

// The floating form of a magnitude with a sign.
int16_t ToFloatForm(int mag, bool negative) {
  const int exp = Quan(mag);
  const int value = (exp << 6) + ((mag << 6) >> exp);
  return static_cast<int16_t>(negative ? value - 0x400 : value);
}

// Signal estimate of the zero section, doubled.
int G72xPredictorZero(const G72xState& state) {
  int sezi = FloatMultiply(state.b[0] >> 2, state.dq[0], state.productRounding);
  for (int i = 1; i < 6; ++i) {
    sezi += FloatMultiply(state.b[i] >> 2, state.dq[i], state.productRounding);
  }
  return sezi;
}

// Signal estimate of the pole section, doubled.
int G72xPredictorPole(const G72xState& state) {
  return FloatMultiply(state.a[1] >> 2, state.sr[1], state.productRounding) +
         FloatMultiply(state.a[0] >> 2, state.sr[0], state.productRounding);
}

// The quantizer step size from the mixed scale factors.
int G72xStepSize(const G72xState& state) {
  if (state.ap >= 256) {
    return state.yu;
  }
  int y = state.yl >> 6;
  const int dif = state.yu - y;
  const int al = state.ap >> 2;
  if (dif > 0) {
    y += (dif * al) >> 6;
  } else if (dif < 0) {
    y += (dif * al + 0x3F) >> 6;
  }
  return y;
}

// The quantized difference from its sign (nonzero for negative), its log
// magnitude and the step size; sign-magnitude with bit 15 as sign.
int G72xReconstruct(int sign, int dqln, int y) {
  const int16_t dql = static_cast<int16_t>(dqln + (y >> 2));
  if (dql < 0) {
    return sign ? -0x8000 : 0;
  }
  const int16_t dex = static_cast<int16_t>((dql >> 7) & 15);
  const int16_t dqt = static_cast<int16_t>(128 + (dql & 127));
  const int16_t dq = static_cast<int16_t>((dqt << 7) >> (14 - dex));
  return sign ? dq - 0x8000 : dq;
}

// Adapts the state to one decoded sample. `codeBits` is 3, 4 or 5.
void G72xUpdate(int codeBits, int y, int wi, int fi, int dq, int sr, int dqsez, G72xState& state) {
  const int16_t pk0 = dqsez < 0 ? 1 : 0;
  int16_t mag = static_cast<int16_t>(dq & 0x7FFF);

  // Transition detector: a large difference while a tone was seen means
  // modem data, which resets the predictor.
  const int16_t ylint = static_cast<int16_t>(state.yl >> 15);
  const int16_t ylfrac = static_cast<int16_t>((state.yl >> 10) & 0x1F);
  const int16_t thr1 = static_cast<int16_t>((32 + ylfrac) << ylint);
  const int16_t thr2 = static_cast<int16_t>(ylint > 9 ? 31 << 10 : thr1);
  const int16_t dqthr = static_cast<int16_t>((thr2 + (thr2 >> 1)) >> 1);
  const bool tr = state.td && mag > dqthr;

  // Quantizer scale factor adaptation.
  int yu = y + ((wi - y) >> 5);
  if (yu < 544) {
    yu = 544;
  } else if (yu > 5120) {
    yu = 5120;
  }
  state.yu = static_cast<int16_t>(yu);
  state.yl += state.yu + ((-state.yl) >> 6);

  int16_t a2p = 0;
  if (tr) {
    for (int16_t& coefficient : state.a) {
      coefficient = 0;
    }
    for (int16_t& coefficient : state.b) {
      coefficient = 0;
    }
  } else {
    const int16_t pks1 = static_cast<int16_t>(pk0 ^ state.pk[0]);

    // Second pole coefficient.
    a2p = static_cast<int16_t>(state.a[1] - (state.a[1] >> 7));
    if (dqsez != 0) {
      const int16_t fa1 = static_cast<int16_t>(pks1 ? state.a[0] : -state.a[0]);
      if (fa1 < -8191) {
        a2p = static_cast<int16_t>(a2p - 0x100);
      } else if (fa1 > 8191) {
        a2p = static_cast<int16_t>(a2p + 0xFF);
      } else {
        a2p = static_cast<int16_t>(a2p + (fa1 >> 5));
      }
      if (pk0 ^ state.pk[1]) {
        if (a2p <= -12160) {
          a2p = -12288;
        } else if (a2p >= 12416) {
          a2p = 12288;
        } else {
          a2p = static_cast<int16_t>(a2p - 0x80);
        }
      } else if (a2p <= -12416) {
        a2p = -12288;
      } else if (a2p >= 12160) {
        a2p = 12288;
      } else {
        a2p = static_cast<int16_t>(a2p + 0x80);
      }
    }
    state.a[1] = a2p;

    // First pole coefficient, limited by the second.
    state.a[0] = static_cast<int16_t>(state.a[0] - (state.a[0] >> 8));
    if (dqsez != 0) {
      state.a[0] = static_cast<int16_t>(pks1 == 0 ? state.a[0] + 192 : state.a[0] - 192);
    }
    const int16_t a1ul = static_cast<int16_t>(15360 - a2p);
    if (state.a[0] < -a1ul) {
      state.a[0] = static_cast<int16_t>(-a1ul);
    } else if (state.a[0] > a1ul) {
      state.a[0] = a1ul;
    }

    // Zero coefficients; the 40 kbit/s coding leaks more slowly.
    for (int i = 0; i < 6; ++i) {
      const int leak = codeBits == 5 ? 9 : 8;
      state.b[i] = static_cast<int16_t>(state.b[i] - (state.b[i] >> leak));
      if (dq & 0x7FFF) {
        state.b[i] =
            static_cast<int16_t>((dq ^ state.dq[i]) >= 0 ? state.b[i] + 128 : state.b[i] - 128);
      }
    }
  }

  for (int i = 5; i > 0; --i) {
    state.dq[i] = state.dq[i - 1];
  }
  if (mag == 0) {
    state.dq[0] = static_cast<int16_t>(dq >= 0 ? 0x20 : 0xFC20);
  } else {
    state.dq[0] = ToFloatForm(mag, dq < 0);
  }

  state.sr[1] = state.sr[0];
  if (sr == 0) {
    state.sr[0] = 0x20;
  } else if (sr > 0) {
    state.sr[0] = ToFloatForm(sr, false);
  } else if (sr > -32768) {
    mag = static_cast<int16_t>(-sr);
    state.sr[0] = ToFloatForm(mag, true);
  } else {
    state.sr[0] = static_cast<int16_t>(0xFC20);
  }

  state.pk[1] = state.pk[0];
  state.pk[0] = pk0;

  // Tone detector: a strongly negative second pole suggests a modem tone.
  if (tr) {
    state.td = false;
  } else {
    state.td = a2p < -11776;
  }

  // Adaptation speed control.
  state.dms = static_cast<int16_t>(state.dms + ((fi - state.dms) >> 5));
  state.dml = static_cast<int16_t>(state.dml + (((fi << 2) - state.dml) >> 7));
  if (tr) {
    state.ap = 256;
  } else if (y < 1536 || state.td || std::abs((state.dms << 2) - state.dml) >= (state.dml >> 3)) {
    state.ap = static_cast<int16_t>(state.ap + ((0x200 - state.ap) >> 4));
  } else {
    state.ap = static_cast<int16_t>(state.ap + ((-state.ap) >> 4));
  }
}

}  // namespace

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
