#pragma once

#include <string>

#include "catalog/OutputFormat.h"
#include "engine/media/ExtraTags.h"

namespace quillo {

// Adds a picture and ReplayGain track (and album) tags to a finished output of `row` with
// TagLib, in the row's format whatever the file's name: MP3 and AIFF (ID3v2
// APIC and TXXX frames), FLAC and Ogg (PICTURE blocks and Vorbis comments),
// Opus (PICTURE blocks and an R128 gain), WavPack (APEv2 cover art and
// items), the MP4 family (`covr` and freeform atoms) and ASF (WM/Picture and
// attributes). Other formats get nothing and report no problem. The tags are
// written into the file itself, which is still the conversion's private
// temporary file: a write that fails there (a full disk) is reported as the
// output's failure, and the caller throws the file away.
ExtraTagsResult WriteExtraTags(const std::string& path, const OutputFormat& row,
                               const ExtraTags& extras);

}  // namespace quillo
