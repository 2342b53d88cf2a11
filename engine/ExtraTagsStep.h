#pragma once

#include <optional>
#include <string>

#include "engine/ConversionRun.h"
#include "engine/media/ExtraTags.h"

namespace quillo {

// Adds what the sink could not write to a finished output before it takes
// its name: the picture of `sourcePath` when tags are transferred with
// pictures, `replayGain` when ReplayGain tags are asked for (with `albumGain`
// beside it when the album's are too), and where the
// job's sink encoded with priming, the gapless description of the audio. A picture or
// tag that cannot be written is dropped with a note naming it and why; a
// write that fails on the way (a full disk) damages the output, and its
// reason is returned: the caller fails the file and discards the output.
std::optional<std::string> AddExtraTags(const std::string& sourcePath,
                                        const std::string& outputPath,
                                        const std::optional<TrackGain>& replayGain,
                                        const std::optional<TrackGain>& albumGain,
                                        RunEnvironment& env);

}  // namespace quillo
