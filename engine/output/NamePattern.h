#pragma once

#include <string>
#include <string_view>

#include "engine/media/TagInfo.h"

namespace quillo {

// Output names made from tags: "{artist}/{album}/{track:02} {title}". The
// fields are {artist}, {albumartist}, {album}, {title}, {track}, {disc},
// {year}, {genre} and {name} (the source's name without its extension);
// {track:02} and {disc:02} pad the number with zeros to that width. A "/"
// makes folders below the output folder.

// Why `pattern` cannot name outputs, in words for the user; empty when it can
// (an empty pattern too: names then come from the sources). A pattern that
// starts with "/", holds a "." or ".." part or an empty one, or holds a
// control character or an unknown field is refused, so that no pattern can
// reach outside the output folder.
std::string NamePatternProblem(std::string_view pattern);

// Whether the pattern reads any tag (a pattern of {name} alone does not).
bool NamePatternUsesTags(std::string_view pattern);

// The output's path below the output folder, without extension, for a source
// at `source` with `tags`; `pattern` must have no problem. In each value "/",
// control characters and leading dots become "_"; a missing title is the
// source's name, a missing artist "Unknown Artist" (the album artist falls
// back to the artist first), and so on. Each part of the path is cut to 255
// bytes at a character boundary, the last one leaving room for
// `extensionBytes` (".mp3": 4).
std::string ExpandNamePattern(std::string_view pattern, const TagInfo& tags,
                              const std::string& source, size_t extensionBytes);

// Cuts `part` to at most `bytes` bytes, never inside a UTF-8 sequence.
void CutNamePart(std::string& part, size_t bytes);

}  // namespace quillo
