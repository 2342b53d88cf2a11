#pragma once

#include <string>
#include <string_view>

#include "engine/media/TagInfo.h"
#include "engine/media/Utf8.h"

extern "C" {
#include <libavutil/dict.h>
}

namespace quillo {

// Sets the container metadata entries title, artist, album, genre, date,
// comment, track, composer and copyright, in that order, each only for a
// non-empty text. The artist goes in once: every muxer maps "artist" to its
// own field, and an "author" beside it would be stored as a second, foreign
// field. Texts are UTF-8; one that is not valid UTF-8 is left out rather
// than stored garbled.
void PutTags(const TagInfo& tags, AVDictionary** metadata);

}  // namespace quillo
