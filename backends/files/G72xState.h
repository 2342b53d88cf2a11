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
