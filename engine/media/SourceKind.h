#pragma once

#include <cstdint>
#include <string_view>

namespace quillo {

// The kind of an input file, fixed from its extension when it is added. The
// values are stored with the file and tested by the engine.
enum class SourceKind : int32_t {
  Mp3 = 1000,
  Wave = 2000,
  Module = 3000,
  Midi = 3050,
  CdAudio = 3100,
  Flac = 3200,
  WavPack = 3300,
  Adx = 3500,
  Ogg = 4000,
  Au = 5000,
  Aiff = 5100,
  Amr = 5500,
  Aac = 6000,
  Mpeg4 = 6600,
  WindowsMedia = 7000,
  Other = 9000,
  Dts = 9500,
};

// The kind for a path's extension (ExtensionPart, in any case); the first
// matching row of the table wins.
SourceKind SourceKindFromPath(std::string_view path);

}  // namespace quillo
