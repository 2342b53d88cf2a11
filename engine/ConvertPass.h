#pragma once

#include <cstdint>
#include <string>

#include "catalog/OutputFormat.h"
#include "engine/ConversionJob.h"
#include "engine/ConversionProgress.h"
#include "engine/OutputSelection.h"
#include "engine/SourceFactory.h"
#include "settings/ConversionSettings.h"

namespace quillo {

extern const char* const kSkipTooLongDetail;
extern const char* const kConvertLengthDetail;

// The file a pass works on. After preprocessing the path and kind are those of
// the temporary file while the display name stays the listed file's.
struct PassItem {
  std::string path;
  SourceKind kind = SourceKind::Other;
  std::string outputPath;
  std::string displayName;  // the listed file's name
};

// What every pass of a run shares.
struct PassContext {
  const ConversionSettings& settings;
  const OutputFormat& row;
  ConversionJob& job;
  SourceFactory& factory;
  ConversionProgress& progress;
  SinkCreator createSink = CreateSink;
};

// The rate asked of sources that render (MIDI, modules) for this row.
int RenderRate(const OutputFormat& row, const ConversionSettings& settings);

// Converts one file into item.outputPath. `hasAudio` becomes 0 when the file
// has no audio. On failure or cancel the output is deleted.
bool ConvertFile(const PassItem& item, PassContext& context, int& hasAudio);

// Appends one file to an open join sink written at `joinRate` and
// `joinChannels`.
bool AppendFile(const PassItem& item, MediaSink& sink, int joinRate, int joinChannels,
                PassContext& context, int& hasAudio);

// Finds the smallest and largest sample of the file.
bool NormalizeScan(const PassItem& item, PassContext& context, int16_t& minimum,
                   int16_t& maximum, int& hasAudio);

// The gain that brings a file's peaks to full scale; -1 when the peaks do not
// allow one.
float NormalizeGain(int16_t minimum, int16_t maximum);

// Copies the decoded PCM of a CD track or a RIFF-wrapped DTS stream into a
// temporary raw file, whose path it stores in item.outputPath.
bool PreprocessDts(PassItem& item, PassContext& context, int& hasAudio);

}  // namespace quillo
