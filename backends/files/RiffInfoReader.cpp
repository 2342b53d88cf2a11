#include "backends/files/RiffInfoReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "backends/files/LegacyText.h"
#include "base/FileHandle.h"
#include "base/RegularFile.h"
#include "engine/media/ByteReader.h"
#include "engine/media/GenreTable.h"

namespace quillo {

namespace {

// No chunk is read into memory beyond this, whatever its header claims.
constexpr uint32_t kMaxChunkRead = 10 * 1024 * 1024;

bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "I" and three letters, the shape of an INFO sub-chunk id.
bool IsInfoId(std::span<const uint8_t> at) {
  return at.size() >= 4 && (at[0] == 'I' || at[0] == 'i') && IsLetter(at[1]) && IsLetter(at[2]) &&
         IsLetter(at[3]);
}

// Stored text ends at its first NUL, if it has one.
std::string_view TextOf(std::span<const uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return text.substr(0, text.find('\0'));
}

// What the chunk walk collects.
struct RiffChunks {
  std::vector<uint8_t> info;  // data of the INFO list
  std::string display;        // text of a plain-text DISP chunk
};

class ChunkWalker {
 public:
  explicit ChunkWalker(FILE* file) : file_(file) {
    struct stat info {};
    fileSize_ = fstat(fileno(file), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
  }

  // Walks the chunks after the "WAVE" form type until a read fails.
  void Walk(RiffChunks& out) {
    uint8_t header[8];
    while (NextChunkHeader(header)) {
      ByteReader fields(header);
      const std::optional<std::string_view> id = fields.Tag();
      const uint32_t size = fields.U32(ByteOrder::Little).value_or(0);
      if (id == "LIST") {
        uint8_t type[4];
        if (!ReadExactly(type, 4)) return;
        if (ByteReader(type).Tag() != "INFO") {
          if (size > 4 && !Skip(size - 4)) return;
        } else if (size >= 4 && !ReadInfo(size - 4, out)) {
          return;
        }
      } else if (id == "DISP" && size > 4) {
        uint8_t format[4];
        if (!ReadExactly(format, 4)) return;
        if (ByteReader(format).U32(ByteOrder::Little) == 1u) {
          if (!ReadDisplay(size - 4, out)) return;
        } else if (!Skip(size - 4)) {
          return;
        }
      } else if (!Skip(size)) {
        return;
      }
    }
  }

 private:
  // Chunk ids start with a letter; pad bytes after odd-sized chunks and stray
  // zeros are passed over on the way to the next one.
  bool NextChunkHeader(uint8_t (&header)[8]) {
    int c;
    do {
      c = std::fgetc(file_);
    } while (c != EOF && !IsLetter(c));
    if (c == EOF) return false;
    header[0] = static_cast<uint8_t>(c);
    return ReadExactly(header + 1, 7);
  }

  bool ReadExactly(uint8_t* out, size_t size) { return std::fread(out, 1, size, file_) == size; }

  bool Skip(uint32_t size) { return fseeko(file_, static_cast<off_t>(size), SEEK_CUR) == 0; }

  // Bytes left in the file from here: no buffer is sized beyond them.
  uint32_t Remaining() const {
    const off_t at = ftello(file_);
    if (at < 0 || static_cast<uint64_t>(at) >= fileSize_) return 0;
    return static_cast<uint32_t>(
        std::min<uint64_t>(fileSize_ - static_cast<uint64_t>(at), kMaxChunkRead));
  }

  // A later INFO list replaces an earlier one. False when the read came up short.
  bool ReadInfo(uint32_t size, RiffChunks& out) {
    const uint32_t wanted = std::min<uint32_t>(size, kMaxChunkRead - 4);
    const uint32_t capacity = std::min(wanted, Remaining());
    out.info.resize(capacity);
    out.info.resize(std::fread(out.info.data(), 1, capacity, file_));
    return out.info.size() == wanted;
  }

  bool ReadDisplay(uint32_t size, RiffChunks& out) {
    const uint32_t wanted = std::min(size, kMaxChunkRead);
    std::vector<uint8_t> text(std::min(wanted, Remaining()));
    text.resize(std::fread(text.data(), 1, text.size(), file_));
    out.display = TextOf(text);
    return text.size() == wanted;
  }

  FILE* file_;
  uint64_t fileSize_ = 0;
};

// Texts read from the INFO list: the tags, and the part number that stands in
// for a missing track number.
struct InfoTexts : TagInfo {
  std::string part;
};

struct InfoId {
  char id[5];
  std::string InfoTexts::*field;
};

// Ids that carry one of our fields. Some writers give the track number only
// as IPRT, the part of a set; ITRK wins.
constexpr InfoId kInfoIds[] = {
    {"INAM", &InfoTexts::title},     {"IART", &InfoTexts::artist}, {"IPRD", &InfoTexts::album},
    {"ICRD", &InfoTexts::year},      {"IGNR", &InfoTexts::genre},  {"ICMT", &InfoTexts::comment},
    {"ICOP", &InfoTexts::copyright}, {"ITRK", &InfoTexts::track},  {"IPRT", &InfoTexts::part},
};
// Ids we know but do not use: their bodies are passed over, not searched.
constexpr std::string_view kUnusedIds[] = {"IARL", "ICMS", "ICRP", "IDIM", "IDPI", "IENG",
                                           "IKEY", "ILGT", "IMED", "IPLT", "ISBJ", "ISFT",
                                           "ISHP", "ISRC", "ISRF", "ITCH"};

// Scans the INFO sub-chunks. Sub-chunks are found by their "I" + three
// letters shape rather than trusted to follow one another, as writers often
// leave out the pad byte. Returns whether anything was found; `genreIndex`
// gets the IGRE byte, or -1.
bool ScanInfo(std::span<const uint8_t> info, InfoTexts& texts, int& genreIndex) {
  ByteReader reader(info);
  bool found = false;
  while (reader.remaining() > 8) {
    size_t at = reader.position();
    while (at < info.size() && !IsInfoId(info.subspan(at))) ++at;
    reader.Seek(at);
    const std::optional<std::string_view> id = reader.Tag();
    const std::optional<uint32_t> size = reader.U32(ByteOrder::Little);
    if (!size) break;

    const auto known = std::find_if(std::begin(kInfoIds), std::end(kInfoIds),
                                    [&](const InfoId& entry) { return *id == entry.id; });
    const bool genre = *id == "IGRE";
    const bool unused =
        std::find(std::begin(kUnusedIds), std::end(kUnusedIds), *id) != std::end(kUnusedIds);
    if (known == std::end(kInfoIds) && !genre && !unused) {
      // Letters that only look like an id: search on from the next byte.
      reader.Seek(at + 1);
      continue;
    }
    // A body that would run past the data is cut where the data ends.
    const std::span<const uint8_t> body =
        reader.Bytes(std::min<uint64_t>(*size, reader.remaining()))
            .value_or(std::span<const uint8_t>());
    if (body.empty()) continue;
    if (genre) {
      genreIndex = body[0];
      found = true;
    } else if (!unused) {
      texts.*known->field = LegacyTextToUtf8(TextOf(body));
      found = true;
    }
  }
  return found;
}

// "(17)" and "(17)Rock" name genre 17; anything else stays as written.
void ResolveGenre(std::string& genre, int genreIndex) {
  if (genre.size() >= 2 && genre[0] == '(' && genre[1] >= '0' && genre[1] <= '9') {
    int number = 0;
    for (size_t i = 1; i < genre.size() && genre[i] >= '0' && genre[i] <= '9'; ++i) {
      number = number * 10 + (genre[i] - '0');
      if (number >= kGenreCount) break;
    }
    if (number < kGenreCount) genre = std::string(GenreName(number));
  }
  if (genre.empty() && genreIndex >= 0 && genreIndex < kGenreCount)
    genre = std::string(GenreName(genreIndex));
}

// Cuts `text` (UTF-8) to its first `count` characters.
void KeepFirstCharacters(std::string& text, size_t count) {
  size_t i = 0;
  for (size_t kept = 0; i < text.size() && kept < count; ++kept) {
    ++i;
    while (i < text.size() && (static_cast<uint8_t>(text[i]) & 0xC0) == 0x80) ++i;
  }
  text.resize(i);
}

}  // namespace

bool ReadRiffInfoTags(const std::string& path, TagInfo& tags) {
  tags = TagInfo{};
  // Reading a FIFO or a device could wait for ever.
  if (!RegularFileProblem(path).empty()) return false;
  FileHandle file = OpenFile(path, "rb");
  if (!file) return false;

  uint8_t head[12];
  ByteReader form(std::span(head, std::fread(head, 1, sizeof head, file.get())));
  if (form.Tag() != "RIFF" || !form.Skip(4) || form.Tag() != "WAVE") return false;
  RiffChunks chunks;
  ChunkWalker(file.get()).Walk(chunks);
  file.reset();

  int genreIndex = -1;
  InfoTexts texts;
  bool found = ScanInfo(chunks.info, texts, genreIndex);
  tags = static_cast<const TagInfo&>(texts);
  if (tags.track.empty()) tags.track = texts.part;
  ResolveGenre(tags.genre, genreIndex);
  KeepFirstCharacters(tags.year, kRiffYearCharacters);
  if (tags.title.empty() && !chunks.display.empty()) {
    tags.title = LegacyTextToUtf8(chunks.display);
    found = true;
  }
  return found;
}

}  // namespace quillo
