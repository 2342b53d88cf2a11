#include "backends/ffmpeg/FfmpegTags.h"

#include <cstdint>
#include <initializer_list>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

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
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  std::string result;
  while (*p != 0) {
    const unsigned char lead = *p;
    int length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07;
    } else {
      return {};
    }
    for (int i = 1; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return {};
      code = (code << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not text.
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
      return {};
    result.append(reinterpret_cast<const char*>(p), static_cast<size_t>(length));
    p += length;
  }
  return result;
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
  return true;
}

}  // namespace quillo
