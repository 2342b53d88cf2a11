#pragma once

#include <string>
#include <string_view>

#include "engine/media/TagInfo.h"

namespace quillo::audio {

// The fields a tag format can name.
struct TagFields {
  std::string title, artist, album, genre, year, comment, track, composer, copyright;
  std::string albumArtist, disc;
};

// Reads the tags of the file at `path` (ID3v1 and ID3v2, APE, Vorbis
// comments, FLAC, MP4 atoms, RIFF INFO, WavPack and module titles). Returns
// false when the file has none; `readable` (if given) tells whether the tag
// library knew the file at all.
bool ReadTagFields(const std::string& path, TagFields& fields, bool* readable = nullptr);

// Fills `format` with the fields: "%TITL", "%ARTI", "%ALBM", "%GNRE", "%YEAR",
// "%CMNT", "%TRCK", "%COMP" and "%COPY" stand for a field, "%%" for a percent
// sign, anything else for itself. Line breaks inside a field become spaces,
// so that a multi-line comment cannot shift the lines of a format.
std::string FormatTagFields(const TagFields& fields, std::string_view format);

// The file's tags through `format`; empty when the file has no tags.
std::string ReadTagText(const std::string& path, std::string_view format);

// The file's tags as the engine holds them; false when the file has none.
// `readable` as for ReadTagFields.
bool ReadTagInfo(const std::string& path, TagInfo& tags, bool* readable = nullptr);

// Splits the text of the format "%TRCK\n%TITL\n%ARTI\n%ALBM\n%GNRE\n%YEAR\n
// %CMNT\n%COMP\n%COPY" into `tags`. Each of the first eight lines is taken
// only when the line feed that ends it is there; the copyright is everything
// after the eighth line feed and comes with the composer. An empty text is no
// tags: false, and `tags` is left alone.
bool SplitTagText(const std::string& text, TagInfo& tags);

}  // namespace quillo::audio
