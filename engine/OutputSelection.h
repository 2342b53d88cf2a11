#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "catalog/OutputFormat.h"
#include "engine/media/MediaSink.h"
#include "engine/media/WindowsMediaRuntime.h"
#include "settings/ConversionSettings.h"

namespace quillo {

// Creates an unconfigured sink for a row's back-end; null when this build
// has no such sink.
using SinkCreator = std::function<std::unique_ptr<MediaSink>(FormatBackend)>;

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

// Chooses and configures the sink for `row`, with `referenceRate` and
// `referenceChannels` (the source's, or the join's maxima) as reference.
// Nothing when no sink can be made for the row. The Windows Media rows
// take their format from `windowsMedia`'s list, and get nothing without it.
std::optional<OutputSelection> SelectOutput(const OutputFormat& row, int referenceRate,
                                            int referenceChannels, int renderRate,
                                            SelectionMode mode, const ConversionSettings& settings,
                                            const SinkCreator& create,
                                            const WindowsMediaRuntime* windowsMedia = nullptr);

}  // namespace quillo
