#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ConversionProgress.h"
#include "engine/media/MediaSink.h"
#include "engine/media/MediaSource.h"
#include "engine/media/ResampleAdapter.h"

namespace quillo {

// How blocks travel from a source to a sink during one pass.
struct BlockRoute {
  int sourceRate = 0;
  int sourceChannels = 0;  // as delivered: 1 or 2
  int outputRate = 0;
  int outputChannels = 0;
  bool resample = false;      // through the adapter (rate change or mix to mono)
  int pickChannel = 0;        // 0: none, 1: left alone, 2: right alone
  int64_t skipFrames = 0;     // frames to drop at the start
  int64_t lengthFrames = -1;  // frames to convert; negative: no limit
  float gain = 1.0f;
  bool applyGain = false;
  bool stopAtProgressTotal = false;  // rendered material ends at its reported length
  // The display and the cancel are looked at every this many blocks.
  int blocksPerProgress = 1;
};

enum class LoopEnd {
  Finished,     // the source ended or the window was converted
  NothingRead,  // the first Read gave nothing
  Cancelled,
  SkipNotReached,  // the source ended inside the skipped part
  WriteFailed,     // the sink refused a block; its ErrorText says why
  // The source stopped on damage before its end (MediaSource::EndedEarly);
  // all it delivered went into the sink.
  EndedEarly,
};

// Moves every block of `source` into `sink` along `route`, with progress.
// The source is read here and nowhere else: every pass, the normalize scan
// included, goes through this loop.
LoopEnd RunBlockLoop(MediaSource& source, MediaSink& sink, const BlockRoute& route,
                     ConversionProgress& progress, const std::string& verb,
                     const std::string& displayName);

// Multiplies each sample by `gain`, truncating toward zero and clamping.
void ApplyGain(int16_t* samples, int count, float gain);
// Multiplies each wide sample by `gain`; the sink rounds and clamps.
void ApplyGain(double* samples, int count, float gain);

}  // namespace quillo
