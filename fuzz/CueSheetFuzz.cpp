// Feeds arbitrary bytes to the cue sheet reader as a sheet's file content:
// decoding the text and parsing it must return without fault, the text must
// come out as UTF-8, and every track kept must start at a time that reads
// back as itself.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/cue/CueSheet.h"
#include "engine/cue/CueText.h"
#include "engine/media/Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string text;
  std::string error;
  if (!quillo::CueTextToUtf8(bytes, text, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (!quillo::IsValidUtf8(text)) std::abort();
  const quillo::ParsedCueSheet sheet = quillo::ParseCueSheet(text);
  for (const quillo::ParsedCueTrack& track : sheet.tracks) {
    if (track.index01 < 0) std::abort();
    if (quillo::ParseCueTime(quillo::CueTimeText(track.index01)) != track.index01) std::abort();
    for (const std::string* value : {&track.tags.title, &track.tags.artist, &track.file})
      if (!quillo::IsValidUtf8(*value)) std::abort();
  }
  return 0;
}
