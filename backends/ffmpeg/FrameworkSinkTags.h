#pragma once

#include <string>
#include <string_view>

#include "engine/Utf8.h"

extern "C" {
#include <libavutil/dict.h>
}

namespace quillo {

// The tag texts a sink was given; empty = absent.
struct SinkTags {
  std::string title, artist, album, genre, date, comment, composer, copyright;
  std::string track;  // decimal text, empty for no track number
};

// Sets the container metadata entries title, artist, album, genre, date,
// comment, track, composer and copyright, in that order, each only for a
// non-empty text. The artist goes in once: every muxer maps "artist" to its
// own field, and an "author" beside it would be stored as a second, foreign
// field. Texts are UTF-8; one that is not valid UTF-8 is left out rather
// than stored garbled.
void PutTags(const SinkTags& tags, AVDictionary** metadata);

}  // namespace quillo
