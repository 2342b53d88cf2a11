#pragma once

#include <memory>
#include <optional>

#include "engine/BackendTable.h"
#include "settings/ConversionSettings.h"

namespace quillo {

enum class SelectionMode { PerFile, Join };

// The sink chosen for a row and the PCM it expects.
struct OutputSelection {
  std::unique_ptr<MediaSink> sink;
  // The rate and channel count of the PCM the sink is given. For the Windows
  // Media rows per file: the source's rate, and two channels unless one is
  // picked or source and format both have one (the writer converts).
  int rate = 0;
  int channels = 0;
  int bitRate = 0;
  // Per file: one source channel is taken alone (the mono mode says which).
  bool pickChannel = false;
};

// The default bit rate for an output rate and channel count.
int DefaultBitRate(int rate, int channels);

// The rate asked of sources that render (MIDI, modules) for this row.
int RenderRate(const OutputFormat& row, const ConversionSettings& settings);

// Chooses and configures the sink for `row` from `backends`, with
// `referenceRate`, `referenceChannels` and `referenceFormat` (the source's,
// or the join's maxima) as reference. Nothing when no sink can be made for the row. The
// Windows Media rows take their format from the table's Windows Media
// support, and get nothing without it.
std::optional<OutputSelection> SelectOutput(const OutputFormat& row, int referenceRate,
                                            int referenceChannels, SelectionMode mode,
                                            const ConversionSettings& settings,
                                            const BackendTable& backends,
                                            const SampleFormat& referenceFormat = {});

}  // namespace quillo
