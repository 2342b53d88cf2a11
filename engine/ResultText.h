#pragma once

#include <string>

#include "engine/RunResult.h"

namespace quillo {

// The texts a file's cells show when it ended. The window's list and the
// command line's lines both show these, rendered from the file's result.
extern const char* const kSoundFontMissingStatus;
extern const char* const kNoAudioStatus;
extern const char* const kConversionFailureStatus;
extern const char* const kCancelledStatus;

// The "Output" cell: the output's file name (or `outputShown` in its place,
// a whole path) with the note on its level, or what went wrong. Empty for a
// file the run never reached.
std::string OutputCellText(const FileResult& result, const std::string& outputShown = {});

// The "Volume" cell: the applied gain in percent ("100.00%"), the same under
// every locale; empty unless the output was written.
std::string VolumeCellText(const FileResult& result);

}  // namespace quillo
