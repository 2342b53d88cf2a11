#pragma once

#include <optional>
#include <string>

#include "engine/ConvertPass.h"

namespace quillo {

// The words in front of every reason a check of an output fails with.
extern const char* const kVerificationFailedDetail;

// Decodes a finished output (still its temporary file, tags and all) with
// the program's own decoders and checks it against what its sink encoded:
// a lossless codec must give back exactly the samples it took (their
// SampleHash), a lossy one the length written, give or take what its framing
// adds. Without a count from the sink, the output must decode to its end.
// Returns why the output is not sound ("Verification failed: ..."); none when
// it is, or when the user cancelled meanwhile.
std::optional<std::string> VerifyOutput(const std::string& outputPath,
                                        const std::optional<WrittenAudio>& written,
                                        PassContext& context);

}  // namespace quillo
