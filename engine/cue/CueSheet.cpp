#include "engine/cue/CueSheet.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace quillo {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Takes the first word off `line`.
std::string_view NextWord(std::string_view& line) {
  line = Trim(line);
  size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  const std::string_view word = line.substr(0, end);
  line = Trim(line.substr(end));
  return word;
}

std::string Upper(std::string_view word) {
  std::string upper(word);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

// A value quoted (to the closing quote, or the line's end when it stays open)
// or not (the rest of the line).
std::string Value(std::string_view rest) {
  rest = Trim(rest);
  if (rest.empty() || rest.front() != '"') return std::string(rest);
  rest.remove_prefix(1);
  const size_t close = rest.find('"');
  return std::string(close == std::string_view::npos ? rest : rest.substr(0, close));
}

// A FILE value: quoted, or unquoted with the file type as the last word.
std::string FileValue(std::string_view rest) {
  rest = Trim(rest);
  if (!rest.empty() && rest.front() == '"') return Value(rest);
  const size_t blank = rest.find_last_of(" \t");
  if (blank != std::string_view::npos) {
    const std::string type = Upper(Trim(rest.substr(blank + 1)));
    if (type == "WAVE" || type == "MP3" || type == "AIFF" || type == "BINARY" ||
        type == "MOTOROLA" || type == "FLAC")
      rest = Trim(rest.substr(0, blank));
  }
  return std::string(rest);
}

bool ParseNumber(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// Applies a line that may stand at sheet or track level.
void ApplyShared(const std::string& command, std::string_view rest, TagInfo& tags,
                 std::string* discNumber) {
  if (command == "TITLE")
    tags.title = Value(rest);
  else if (command == "PERFORMER")
    tags.artist = Value(rest);
  else if (command == "SONGWRITER")
    tags.composer = Value(rest);
  else if (command == "REM") {
    const std::string field = Upper(NextWord(rest));
    if (field == "GENRE")
      tags.genre = Value(rest);
    else if (field == "DATE")
      tags.year = Value(rest);
    else if (field == "COMMENT")
      tags.comment = Value(rest);
    else if (field == "DISCNUMBER" && discNumber != nullptr)
      *discNumber = Value(rest);
  }
}

}  // namespace

int64_t ParseCueTime(std::string_view text) {
  text = Trim(text);
  int parts[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    const size_t colon = i < 2 ? text.find(':') : text.size();
    if (colon == std::string_view::npos || !ParseNumber(text.substr(0, colon), parts[i]) ||
        parts[i] < 0)
      return -1;
    text = i < 2 ? text.substr(colon + 1) : std::string_view();
  }
  if (parts[1] >= 60 || parts[2] >= kCueFramesPerSecond) return -1;
  return (static_cast<int64_t>(parts[0]) * 60 + parts[1]) * kCueFramesPerSecond + parts[2];
}

std::string CueTimeText(int64_t frames) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld",
                static_cast<long long>(frames / (60 * kCueFramesPerSecond)),
                static_cast<long long>(frames / kCueFramesPerSecond % 60),
                static_cast<long long>(frames % kCueFramesPerSecond));
  return text;
}

ParsedCueSheet ParseCueSheet(std::string_view text) {
  ParsedCueSheet sheet;
  std::string file;
  ParsedCueTrack* track = nullptr;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::string command = Upper(NextWord(line));
    if (command == "FILE") {
      file = FileValue(line);
    } else if (command == "TRACK") {
      int number = 0;
      if (!ParseNumber(NextWord(line), number)) number = 0;
      sheet.tracks.push_back(ParsedCueTrack{});
      track = &sheet.tracks.back();
      track->number = number;
      track->file = file;
    } else if (command == "INDEX" && track != nullptr) {
      int index = -1;
      if (ParseNumber(NextWord(line), index) && index == 1) {
        track->index01 = ParseCueTime(NextWord(line));
        // The FILE in force where the track starts is the one it is cut from.
        track->file = file;
      }
    } else if (command == "ISRC" && track != nullptr) {
      track->isrc = Value(line);
    } else if (track != nullptr) {
      ApplyShared(command, line, track->tags, nullptr);
    } else {
      ApplyShared(command, line, sheet.tags, &sheet.discNumber);
    }
  }
  std::erase_if(sheet.tracks, [](const ParsedCueTrack& t) { return t.index01 < 0; });
  return sheet;
}

}  // namespace quillo
