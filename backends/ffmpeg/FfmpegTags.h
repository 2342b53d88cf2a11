#pragma once

#include <string>

#include "engine/media/TagInfo.h"

struct AVFormatContext;
struct AVStream;

namespace quillo {

// `text` when it is valid UTF-8, otherwise empty: a damaged tag shows as no
// tag rather than as garbage.
std::string ValidUtf8OrEmpty(const char* text);

// Fills `tags` from the container's metadata and, for keys the container
// lacks, from the metadata of `stream` (Ogg and some other formats keep tags
// there). Year and track are the leading numbers of "date"/"year" and
// "track" ("2004-05-01" gives "2004", "3/12" gives "3"). Returns false and
// leaves `tags` alone when none of the fields is present.
bool ReadFfmpegTags(const AVFormatContext& context, const AVStream* stream, TagInfo& tags);

}  // namespace quillo
