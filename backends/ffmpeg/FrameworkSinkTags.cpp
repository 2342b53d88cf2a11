#include "backends/ffmpeg/FrameworkSinkTags.h"

#include <utility>

namespace quillo {

void PutTags(const TagInfo& tags, AVDictionary** metadata) {
  const std::pair<const char*, const std::string*> entries[] = {
      {"title", &tags.title}, {"artist", &tags.artist},     {"album", &tags.album},
      {"genre", &tags.genre}, {"date", &tags.year},         {"comment", &tags.comment},
      {"track", &tags.track}, {"composer", &tags.composer}, {"copyright", &tags.copyright},
  };
  for (const auto& [key, text] : entries)
    if (!text->empty() && IsValidUtf8(*text)) av_dict_set(metadata, key, text->c_str(), 0);
}

}  // namespace quillo
