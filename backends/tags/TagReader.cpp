#include "backends/tags/TagReader.h"

#include <taglib/fileref.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>

#include "base/RegularFile.h"
#include "engine/media/ByteReader.h"
#include "engine/media/TagInfo.h"

namespace quillo::audio {

namespace {

std::string Joined(const TagLib::PropertyMap& properties, const char* key) {
  const auto it = properties.find(key);
  if (it == properties.end()) return {};
  std::string text = it->second.toString(" / ").to8Bit(true);
  CapTagText(text);
  return text;
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

// The tag library holds a tag several times over while it reads it: an ID3
// block larger than this is read only this far (frames cut off at the end
// are dropped), so that a damaged or hostile file cannot exhaust the memory.
constexpr uint64_t kMaxId3Bytes = 10 * 1024 * 1024;

// Where an ID3v2 block sits in a file: in front (MP3 and the like) or as an
// "ID3 " / "id3 " chunk of a RIFF (WAV) or FORM (AIFF) file.
struct Id3Block {
  uint64_t offset = 0;
  uint64_t size = 0;
};

std::optional<Id3Block> FindId3Block(std::ifstream& in) {
  unsigned char head[12] = {};
  if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return std::nullopt;
  if (std::memcmp(head, "ID3", 3) == 0) {
    // Synchsafe size of the frames, plus the header and an optional footer.
    const uint64_t size = (uint64_t{head[6] & 0x7Fu} << 21) | (uint64_t{head[7] & 0x7Fu} << 14) |
                          (uint64_t{head[8] & 0x7Fu} << 7) | (head[9] & 0x7Fu);
    return Id3Block{0, size + 10 + ((head[5] & 0x10) != 0 ? 10 : 0)};
  }
  const bool riff = std::memcmp(head, "RIFF", 4) == 0;
  if (!riff && std::memcmp(head, "FORM", 4) != 0) return std::nullopt;
  uint64_t at = 12;
  for (int chunks = 0; chunks < 4096; ++chunks) {
    uint8_t chunk[8];
    in.seekg(static_cast<std::streamoff>(at));
    if (!in.read(reinterpret_cast<char*>(chunk), sizeof chunk)) return std::nullopt;
    ByteReader fields(chunk);
    const std::optional<std::string_view> id = fields.Tag();
    const uint64_t size = fields.U32(riff ? ByteOrder::Little : ByteOrder::Big).value_or(0);
    if (id == "ID3 " || id == "id3 ") return Id3Block{at + 8, size};
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

// The first kMaxId3Bytes of an oversized ID3 block, read as the tag of an
// MPEG stream held in memory.
bool ReadCappedId3(std::ifstream& in, const Id3Block& block, TagLib::PropertyMap& properties) {
  TagLib::ByteVector data(static_cast<unsigned int>(kMaxId3Bytes), '\0');
  in.clear();
  in.seekg(static_cast<std::streamoff>(block.offset));
  in.read(data.data(), static_cast<std::streamsize>(data.size()));
  data.resize(static_cast<unsigned int>(in.gcount()));
  TagLib::ByteVectorStream stream(data);
  TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
  if (!file.isValid() || !file.hasID3v2Tag()) return false;
  properties = file.properties();
  return !properties.isEmpty();
}

void FillFromProperties(const TagLib::PropertyMap& properties, TagFields& fields) {
  fields.title = Joined(properties, "TITLE");
  fields.artist = Joined(properties, "ARTIST");
  fields.album = Joined(properties, "ALBUM");
  fields.genre = Joined(properties, "GENRE");
  fields.year = Joined(properties, "DATE");
  fields.comment = Joined(properties, "COMMENT");
  fields.track = Joined(properties, "TRACKNUMBER");
  fields.composer = Joined(properties, "COMPOSER");
  fields.copyright = Joined(properties, "COPYRIGHT");
  fields.albumArtist = Joined(properties, "ALBUMARTIST");
  fields.disc = Joined(properties, "DISCNUMBER");
}

}  // namespace

bool ReadTagFields(const std::string& path, TagFields& fields, bool* readable) {
  if (readable != nullptr) *readable = false;
  // The tag library would wait for ever on a FIFO or a device.
  if (!RegularFileProblem(path).empty()) return false;
  {
    std::ifstream in(path, std::ios::binary);
    const std::optional<Id3Block> block = FindId3Block(in);
    if (block && block->size > kMaxId3Bytes) {
      if (readable != nullptr) *readable = true;
      TagLib::PropertyMap properties;
      if (!ReadCappedId3(in, *block, properties)) return false;
      FillFromProperties(properties, fields);
      return true;
    }
  }
  const TagLib::FileRef file(path.c_str(), false);
  if (file.isNull()) return false;
  if (readable != nullptr) *readable = true;
  const TagLib::PropertyMap properties = file.file()->properties();
  const TagLib::Tag* tag = file.tag();
  const bool hasTag = tag != nullptr && !tag->isEmpty();
  if (properties.isEmpty() && !hasTag) return false;

  FillFromProperties(properties, fields);
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

bool ReadTagInfo(const std::string& path, TagInfo& tags, bool* readable) {
  TagFields fields;
  if (!ReadTagFields(path, fields, readable)) return false;
  tags = TagInfo{fields.title,     fields.artist,      fields.album, fields.year,
                 fields.genre,     fields.comment,     fields.track, fields.composer,
                 fields.copyright, fields.albumArtist, fields.disc};
  return true;
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
