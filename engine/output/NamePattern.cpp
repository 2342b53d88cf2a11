#include "engine/output/NamePattern.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "engine/media/PathName.h"

namespace quillo {

namespace {

constexpr size_t kMaxNameBytes = 255;  // what every Linux file system takes

enum class Field { Artist, AlbumArtist, Album, Title, Track, Disc, Year, Genre, Name };

struct FieldName {
  std::string_view word;
  Field field;
};

constexpr std::array<FieldName, 9> kFields = {{
    {"artist", Field::Artist},
    {"albumartist", Field::AlbumArtist},
    {"album", Field::Album},
    {"title", Field::Title},
    {"track", Field::Track},
    {"disc", Field::Disc},
    {"year", Field::Year},
    {"genre", Field::Genre},
    {"name", Field::Name},
}};

// One field of a pattern: "{track:02}" is the track, two digits wide.
struct FieldUse {
  Field field;
  int width = 0;
};

// The field inside braces ("track:02"); nothing when there is no such field.
std::optional<FieldUse> ParseField(std::string_view inside) {
  std::string_view word = inside;
  int width = 0;
  const size_t colon = inside.find(':');
  if (colon != std::string_view::npos) {
    word = inside.substr(0, colon);
    const std::string_view digits = inside.substr(colon + 1);
    // One or two digits, a width from 1 to 9: "{track:02}", "{disc:2}".
    if (digits.empty() || digits.size() > 2) return std::nullopt;
    for (char c : digits)
      if (c < '0' || c > '9') return std::nullopt;
    width = std::stoi(std::string(digits));
    if (width < 1 || width > 9) return std::nullopt;
  }
  for (const FieldName& name : kFields) {
    if (name.word != word) continue;
    if (width != 0 && name.field != Field::Track && name.field != Field::Disc) return std::nullopt;
    return FieldUse{name.field, width};
  }
  return std::nullopt;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// Calls `literal` for each run of plain text and `field` for each field, in
// order; false at the first "{" that opens no known field.
template <typename Literal, typename OnField>
bool WalkPattern(std::string_view pattern, Literal literal, OnField field) {
  size_t i = 0;
  while (i < pattern.size()) {
    const size_t open = pattern.find('{', i);
    if (open != i) {
      literal(
          pattern.substr(i, open == std::string_view::npos ? std::string_view::npos : open - i));
      if (open == std::string_view::npos) break;
    }
    const size_t close = pattern.find('}', open);
    if (close == std::string_view::npos) return false;
    const std::optional<FieldUse> use = ParseField(pattern.substr(open + 1, close - open - 1));
    if (!use) return false;
    field(*use);
    i = close + 1;
  }
  return true;
}

// A tag value made safe as a part of a file name: blanks at both ends
// dropped, "/" and control characters (C1 ones too) replaced, leading dots
// replaced so that no value is "." or ".." or hides its file. Empty when
// nothing is left.
std::string Clean(std::string_view value) {
  const size_t first = value.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  value = value.substr(first, value.find_last_not_of(" \t\r\n") - first + 1);
  std::string text;
  text.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (c == 0xC2 && i + 1 < value.size() && static_cast<unsigned char>(value[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(value[i + 1]) <= 0x9F) {
      text += '_';
      ++i;
    } else if (c == '/' || IsControl(c)) {
      text += '_';
    } else {
      text += static_cast<char>(c);
    }
  }
  for (char& c : text) {
    if (c != '.') break;
    c = '_';
  }
  return text;
}

std::string Number(std::string_view text, int width) {
  const int number = std::max(TrackNumberFromText(text), 0);
  std::string digits = std::to_string(number);
  if (digits.size() < static_cast<size_t>(width))
    digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return digits;
}

std::string Value(const FieldUse& use, const TagInfo& tags, const std::string& source) {
  const auto either = [](std::string_view value, std::string fallback) {
    std::string clean = Clean(value);
    return clean.empty() ? fallback : clean;
  };
  const std::string name = either(StemPart(source), "Untitled");
  switch (use.field) {
    case Field::Artist:
      return either(tags.artist, "Unknown Artist");
    case Field::AlbumArtist:
      return either(tags.albumArtist, either(tags.artist, "Unknown Artist"));
    case Field::Album:
      return either(tags.album, "Unknown Album");
    case Field::Title:
      return either(tags.title, name);
    case Field::Track:
      return Number(tags.track, use.width);
    case Field::Disc:
      return Number(tags.disc, use.width);
    case Field::Year:
      return either(tags.year, "Unknown Year");
    case Field::Genre:
      return either(tags.genre, "Unknown Genre");
    case Field::Name:
      return name;
  }
  return name;
}

}  // namespace

void CutNamePart(std::string& part, size_t bytes) {
  if (part.size() <= bytes) return;
  size_t cut = bytes;
  while (cut > 0 && (static_cast<unsigned char>(part[cut]) & 0xC0) == 0x80) --cut;
  part.resize(cut);
}

std::string NamePatternProblem(std::string_view pattern) {
  if (pattern.empty()) return {};
  if (pattern.front() == '/')
    return "The name pattern must not start with \"/\": outputs stay inside the output folder.";
  for (char c : pattern)
    if (IsControl(static_cast<unsigned char>(c)))
      return "The name pattern must not hold a control character.";
  size_t start = 0;
  for (;;) {
    const size_t end = pattern.find('/', start);
    const std::string_view part = pattern.substr(start, end - start);
    if (part.empty())
      return "The name pattern has an empty folder or file name (\"//\" or a \"/\" at its end).";
    if (part == "." || part == "..")
      return "The name pattern must not hold \".\" or \"..\" as a folder: outputs stay inside "
             "the output folder.";
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (!WalkPattern(
          pattern, [](std::string_view) {}, [](const FieldUse&) {}))
    return "The name pattern has a \"{\" that starts no field; the fields are {artist}, "
           "{albumartist}, {album}, {title}, {track}, {track:02}, {disc}, {year}, {genre} and "
           "{name}.";
  return {};
}

bool NamePatternUsesTags(std::string_view pattern) {
  bool uses = false;
  WalkPattern(
      pattern, [](std::string_view) {},
      [&](const FieldUse& use) { uses = uses || use.field != Field::Name; });
  return uses;
}

std::string ExpandNamePattern(std::string_view pattern, const TagInfo& tags,
                              const std::string& source, size_t extensionBytes) {
  std::string text;
  WalkPattern(
      pattern, [&](std::string_view literal) { text += literal; },
      [&](const FieldUse& use) { text += Value(use, tags, source); });
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('/', start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::string path;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string& part = parts[i];
    const bool last = i + 1 == parts.size();
    CutNamePart(part, last && extensionBytes < kMaxNameBytes ? kMaxNameBytes - extensionBytes
                                                             : kMaxNameBytes);
    // A checked pattern cannot give these; whatever did stays inside.
    if (part.empty() || part == "." || part == "..") part.assign(1, '_');
    if (i != 0) path += '/';
    path += part;
  }
  return path;
}

}  // namespace quillo
