#pragma once

#include <cstdint>

namespace quillo {

// The adaptive state shared by the G.721 and G.723 ADPCM decoders: the
// quantizer scale factors, the speed control and the pole/zero predictor.
// Field widths and every truncation follow the standard's fixed-point
// arithmetic, so decoded samples are bit-exact.
struct G72xState {
  G72xState() { Reset(); }
  // The standard's initial values.
  void Reset();

  int32_t yl;     // locked (steady state) step size multiplier
  int16_t yu;     // unlocked (non-steady state) step size multiplier
  int16_t dms;    // short term energy estimate
  int16_t dml;    // long term energy estimate
  int16_t ap;     // weighting of yl against yu
  int16_t a[2];   // pole coefficients of the predictor
  int16_t b[6];   // zero coefficients of the predictor
  int16_t pk[2];  // signs of the last two partial reconstructed signals
  int16_t dq[6];  // last six quantized differences, in floating form
  int16_t sr[2];  // last two reconstructed signals, in floating form
  bool td;        // tone (modem data) detected

  // Added to each predictor product before its last shift. The G.72x AU
  // files met today are written by libsndfile-based tools, whose coder leaves
  // the standard's rounding of 48 out; decoding them sample-exact needs 0.
  // Not part of the state Reset restores.
  int productRounding = 0;
};

// Signal estimate of the zero section, doubled.
int G72xPredictorZero(const G72xState& state);
// Signal estimate of the pole section, doubled.
int G72xPredictorPole(const G72xState& state);
// The quantizer step size from the mixed scale factors.
int G72xStepSize(const G72xState& state);
// The quantized difference from its sign (nonzero for negative), its log
// magnitude and the step size; sign-magnitude with bit 15 as sign.
int G72xReconstruct(int sign, int dqln, int y);
// Adapts the state to one decoded sample. `codeBits` is 3, 4 or 5.
void G72xUpdate(int codeBits, int y, int wi, int fi, int dq, int sr, int dqsez, G72xState& state);

}  // namespace quillo
