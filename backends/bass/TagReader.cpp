#include "backends/bass/TagReader.h"

#include <taglib/fileref.h>
#include <taglib/infotag.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <array>

#include "engine/RegularFile.h"

namespace quillo::audio {

namespace {

std::string Joined(const TagLib::PropertyMap& properties, const char* key) {
  const auto it = properties.find(key);
  if (it == properties.end()) return {};
  return it->second.toString(" / ").to8Bit(true);
}

std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    line += (c == '\n' || c == '\r') ? ' ' : c;
  }
  return line;
}

}  // namespace

bool ReadTagFields(const std::string& path, TagFields& fields) {
  // The tag library would wait for ever on a FIFO or a device.
  if (!RegularFileProblem(path).empty()) return false;
  const TagLib::FileRef file(path.c_str(), false);
  if (file.isNull()) return false;
  const TagLib::PropertyMap properties = file.file()->properties();
  const TagLib::Tag* tag = file.tag();
  const bool hasTag = tag != nullptr && !tag->isEmpty();
  if (properties.isEmpty() && !hasTag) return false;

  fields.title = Joined(properties, "TITLE");
  fields.artist = Joined(properties, "ARTIST");
  fields.album = Joined(properties, "ALBUM");
  fields.genre = Joined(properties, "GENRE");
  fields.year = Joined(properties, "DATE");
  fields.comment = Joined(properties, "COMMENT");
  fields.track = Joined(properties, "TRACKNUMBER");
  fields.composer = Joined(properties, "COMPOSER");
  fields.copyright = Joined(properties, "COPYRIGHT");
  // RIFF INFO names its copyright field only by its chunk id.
  if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file.file());
      wav != nullptr && wav->hasInfoTag() && fields.copyright.empty())
    fields.copyright = wav->InfoTag()->fieldText("ICOP").to8Bit(true);
  // Formats whose tags have no property names still answer the basic fields.
  if (hasTag) {
    if (fields.title.empty()) fields.title = tag->title().to8Bit(true);
    if (fields.artist.empty()) fields.artist = tag->artist().to8Bit(true);
    if (fields.album.empty()) fields.album = tag->album().to8Bit(true);
    if (fields.genre.empty()) fields.genre = tag->genre().to8Bit(true);
    if (fields.comment.empty()) fields.comment = tag->comment().to8Bit(true);
    if (fields.year.empty() && tag->year() != 0) fields.year = std::to_string(tag->year());
    if (fields.track.empty() && tag->track() != 0) fields.track = std::to_string(tag->track());
  }
  return true;
}

std::string FormatTagFields(const TagFields& fields, std::string_view format) {
  const std::array<std::pair<std::string_view, const std::string*>, 9> codes = {{
      {"TITL", &fields.title},
      {"ARTI", &fields.artist},
      {"ALBM", &fields.album},
      {"GNRE", &fields.genre},
      {"YEAR", &fields.year},
      {"CMNT", &fields.comment},
      {"TRCK", &fields.track},
      {"COMP", &fields.composer},
      {"COPY", &fields.copyright},
  }};
  std::string text;
  for (size_t i = 0; i < format.size();) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      text += '%';
      i += 2;
      continue;
    }
    bool matched = false;
    if (format[i] == '%') {
      for (const auto& [code, value] : codes) {
        if (format.substr(i + 1, 4) == code) {
          text += OneLine(*value);
          i += 5;
          matched = true;
          break;
        }
      }
    }
    if (!matched) text += format[i++];
  }
  return text;
}

std::string ReadTagText(const std::string& path, std::string_view format) {
  TagFields fields;
  if (!ReadTagFields(path, fields)) return {};
  return FormatTagFields(fields, format);
}

bool SplitTagText(const std::string& text, TagInfo& tags) {
  if (text.empty()) return false;
  std::string* const order[8] = {&tags.track, &tags.title, &tags.artist,  &tags.album,
                                 &tags.genre, &tags.year,  &tags.comment, &tags.composer};
  size_t start = 0;
  for (int piece = 0; piece < 8; ++piece) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) break;
    if (piece == 7) {
      // The composer comes with the copyright: all text after this line feed.
      tags.composer = text.substr(start, end - start);
      tags.copyright = text.substr(end + 1);
      break;
    }
    *order[piece] = text.substr(start, end - start);
    start = end + 1;
  }
  return true;
}

}  // namespace quillo::audio
