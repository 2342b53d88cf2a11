#include "engine/media/TagInfo.h"

#include <climits>

namespace quillo {

int TrackNumberFromText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) value = INT_MAX;  // saturate instead of overflowing
  }
  return static_cast<int>(negative ? -value : value);
}

void CapTagText(std::string& text) {
  if (text.size() <= kMaxTagTextBytes) return;
  size_t cut = kMaxTagTextBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  text.shrink_to_fit();
}

void CapTagTexts(TagInfo& tags) {
  for (std::string* text :
       {&tags.title, &tags.artist, &tags.album, &tags.year, &tags.genre, &tags.comment, &tags.track,
        &tags.composer, &tags.copyright, &tags.albumArtist, &tags.disc})
    CapTagText(*text);
}

std::string TrackText(int track) { return track > 0 ? std::to_string(track) : std::string(); }

}  // namespace quillo
