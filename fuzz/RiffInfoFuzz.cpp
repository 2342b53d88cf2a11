// Feeds arbitrary bytes to the RIFF INFO tag reader as a file: it must return
// without fault, and every text it fills must be UTF-8 (the sinks write the
// tags as they get them), the year no longer than the reader keeps it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "backends/files/RiffInfoReader.h"
#include "engine/media/Utf8.h"
#include "fuzz/SourceFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!quillo::fuzz::WriteScratch(data, size)) return 0;
  quillo::TagInfo tags;
  tags.composer = "stale";
  const bool found = quillo::ReadRiffInfoTags(quillo::fuzz::ScratchPath(), tags);
  const quillo::TagInfo none;
  if (!found && tags != none) std::abort();
  for (const std::string* text : {&tags.title, &tags.artist, &tags.album, &tags.year, &tags.genre,
                                  &tags.comment, &tags.track, &tags.composer, &tags.copyright})
    if (!quillo::IsValidUtf8(*text)) std::abort();
  size_t yearCharacters = 0;
  for (const unsigned char c : tags.year) yearCharacters += (c & 0xC0) != 0x80;
  if (!tags.composer.empty() || yearCharacters > quillo::kRiffYearCharacters) std::abort();
  return 0;
}
