#include "engine/cue/CueWriter.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "engine/cue/CueSheet.h"

namespace quillo {

namespace {

// A value between quotes: a quote inside would end it early, and a line
// break would start a new command, so both become something harmless.
std::string Quoted(const std::string& text) {
  std::string value = "\"";
  for (const char c : text) {
    if (c == '"')
      value += '\'';
    else if (c == '\r' || c == '\n')
      value += ' ';
    else
      value += c;
  }
  return value + "\"";
}

// The FILE type players expect: MP3 for MP3, AIFF for AIFF, WAVE for the
// rest (any audio a player decodes itself).
const char* FileType(const std::string& fileName) {
  std::string extension = std::filesystem::path(fileName).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".mp3") return "MP3";
  if (extension == ".aif" || extension == ".aiff") return "AIFF";
  return "WAVE";
}

}  // namespace

std::string JoinCueSheetText(const std::string& outputFileName,
                             const std::vector<JoinedTrack>& tracks, int rate) {
  std::string text = "FILE " + Quoted(outputFileName) + " " + FileType(outputFileName) + "\r\n";
  for (size_t i = 0; i < tracks.size(); ++i) {
    char number[24];
    std::snprintf(number, sizeof number, "%02zu", i + 1);
    const int64_t frame =
        rate > 0 ? (tracks[i].startFrame * kCueFramesPerSecond + rate / 2) / rate : 0;
    text += std::string("  TRACK ") + number + " AUDIO\r\n";
    text += "    TITLE " + Quoted(tracks[i].title) + "\r\n";
    if (!tracks[i].performer.empty())
      text += "    PERFORMER " + Quoted(tracks[i].performer) + "\r\n";
    text += "    INDEX 01 " + CueTimeText(frame) + "\r\n";
  }
  return text;
}

std::string JoinCueSheetPath(const std::string& outputPath) {
  return std::filesystem::path(outputPath).replace_extension(".cue").string();
}

}  // namespace quillo
