#pragma once

#include <optional>
#include <string>

#include "engine/media/ExtraTags.h"

namespace quillo {

// The run state shared by the passes and the driver. One job per conversion
// run; the engine holds no state of its own besides. Whether a pass may be
// retried travels in its PassResult.
struct ConversionJob {
  // The last failure's explanation for the user; empty when there is none.
  std::string failureDetail;
  // 1-based position of the current file in the run (the list-position track number).
  int position = 0;
  // Gain found by the normalize scan; -1 when none is known.
  float normalizeGain = -1.0f;
  // A gain found for the whole run before its files (a join normalized to a
  // loudness target); the files are then not scanned one by one.
  std::optional<float> runGain;
  // Gain the last convert pass applied (1.0 when unscaled), for the "Volume" cell.
  float appliedGain = 1.0f;
  // ReplayGain values of the audio the last convert pass wrote; none when
  // they were not asked for or could not be measured.
  std::optional<TrackGain> trackGain;
};

}  // namespace quillo
