#include "backends/ffmpeg/FfmpegTags.h"

#include <initializer_list>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include "engine/media/Utf8.h"

namespace quillo {

namespace {

// The value of the first of `keys` found, container first; "" when none.
// Keys match without regard to letter case.
const char* Lookup(const AVFormatContext& context, const AVStream* stream,
                   std::initializer_list<const char*> keys) {
  for (const AVDictionary* dictionary :
       {static_cast<const AVDictionary*>(context.metadata),
        stream != nullptr ? static_cast<const AVDictionary*>(stream->metadata) : nullptr}) {
    if (dictionary == nullptr) continue;
    for (const char* key : keys) {
      const AVDictionaryEntry* entry = av_dict_get(dictionary, key, nullptr, 0);
      if (entry != nullptr && entry->value != nullptr && entry->value[0] != '\0')
        return entry->value;
    }
  }
  return "";
}

std::string NumberText(const char* text) {
  const int number = TrackNumberFromText(text);
  return number >= 1 ? std::to_string(number) : std::string();
}

}  // namespace

std::string ValidUtf8OrEmpty(const char* text) {
  return IsValidUtf8(text) ? std::string(text) : std::string();
}

bool ReadFfmpegTags(const AVFormatContext& context, const AVStream* stream, TagInfo& tags) {
  const char* title = Lookup(context, stream, {"title"});
  const char* artist = Lookup(context, stream, {"artist", "author"});
  const char* album = Lookup(context, stream, {"album"});
  const char* genre = Lookup(context, stream, {"genre"});
  const char* comment = Lookup(context, stream, {"comment", "description"});
  const char* copyright = Lookup(context, stream, {"copyright"});
  const char* composer = Lookup(context, stream, {"composer"});
  const std::string year = NumberText(Lookup(context, stream, {"date", "year"}));
  const std::string track = NumberText(Lookup(context, stream, {"track"}));

  const bool anyText = *title || *artist || *album || *genre || *comment || *copyright || *composer;
  if (!anyText && year.empty() && track.empty()) return false;

  tags.title = ValidUtf8OrEmpty(title);
  tags.artist = ValidUtf8OrEmpty(artist);
  tags.album = ValidUtf8OrEmpty(album);
  tags.year = year;
  tags.genre = ValidUtf8OrEmpty(genre);
  tags.comment = ValidUtf8OrEmpty(comment);
  tags.track = track;
  tags.composer = ValidUtf8OrEmpty(composer);
  tags.copyright = ValidUtf8OrEmpty(copyright);
  tags.albumArtist = ValidUtf8OrEmpty(Lookup(context, stream, {"album_artist", "albumartist"}));
  tags.disc = NumberText(Lookup(context, stream, {"disc", "discnumber"}));
  return true;
}

}  // namespace quillo
