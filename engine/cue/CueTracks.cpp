#include "engine/cue/CueTracks.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/cue/CueSheet.h"
#include "engine/cue/CueText.h"
#include "engine/media/SourceKind.h"

namespace quillo {

namespace fs = std::filesystem;

namespace {

// No real sheet comes near this; a larger file is not a sheet.
constexpr std::uintmax_t kMaxSheetBytes = 1024 * 1024;

bool IsRegularFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The image a FILE line names, relative to the sheet; the same name with
// another audio extension when that one is gone. Empty when neither is there.
std::string FindImage(const fs::path& folder, const std::string& name) {
  const fs::path named = fs::path(name).is_absolute() ? fs::path(name) : folder / name;
  if (IsRegularFile(named)) return named.string();
  std::error_code ec;
  for (fs::directory_iterator it(named.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const fs::path candidate = it->path();
    if (candidate.stem() == named.stem() && !IsCueSheetPath(candidate.string()) &&
        SourceKindFromPath(candidate.string()) != SourceKind::Other && IsRegularFile(candidate))
      return candidate.string();
  }
  return {};
}

bool ReadSheetBytes(const std::string& path, std::string& bytes, std::string& error) {
  std::error_code ec;
  if (!IsRegularFile(path)) {
    error = "the cue sheet is not a regular file";
    return false;
  }
  if (fs::file_size(path, ec) > kMaxSheetBytes || ec) {
    error = "the file is too large for a cue sheet";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) {
    error = "the cue sheet could not be read";
    return false;
  }
  return true;
}

void FillFrom(std::string& field, const std::string& fallback) {
  if (field.empty()) field = fallback;
}

}  // namespace

bool IsCueSheetPath(const std::string& path) {
  std::string extension = fs::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".cue";
}

std::string CueTrackName(const std::string& sheetStem, int number, const std::string& title) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number);
  std::string name = title.empty() ? sheetStem + " " + digits : std::string(digits) + " " + title;
  for (char& c : name)
    if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  if (!name.empty() && name.front() == '.') name.front() = '_';
  return name;
}

CueSheetTracks ReadCueTracks(const std::string& sheetPath) {
  CueSheetTracks result;
  std::string bytes;
  std::string text;
  if (!ReadSheetBytes(sheetPath, bytes, result.error) || !CueTextToUtf8(bytes, text, result.error))
    return result;
  const ParsedCueSheet sheet = ParseCueSheet(text);
  if (sheet.tracks.empty()) {
    result.error = "the cue sheet lists no track with an INDEX 01";
    return result;
  }
  const fs::path folder = fs::path(sheetPath).parent_path();
  const std::string stem = fs::path(sheetPath).stem().string();
  const int total = static_cast<int>(sheet.tracks.size());
  for (size_t i = 0; i < sheet.tracks.size(); ++i) {
    const ParsedCueTrack& parsed = sheet.tracks[i];
    CueTrack track;
    track.sheetPath = sheetPath;
    track.number = parsed.number;
    track.total = total;
    track.startFrame = parsed.index01;
    // The next track's INDEX 01 in the same image ends this one; its
    // pregap (INDEX 00) thus stays with this track.
    if (i + 1 < sheet.tracks.size() && sheet.tracks[i + 1].file == parsed.file)
      track.endFrame = sheet.tracks[i + 1].index01;
    track.tags = parsed.tags;
    FillFrom(track.tags.artist, sheet.tags.artist);
    FillFrom(track.tags.composer, sheet.tags.composer);
    FillFrom(track.tags.genre, sheet.tags.genre);
    FillFrom(track.tags.year, sheet.tags.year);
    FillFrom(track.tags.comment, sheet.tags.comment);
    track.tags.album = sheet.tags.title;
    track.tags.track = TrackText(parsed.number);
    CapTagTexts(track.tags);
    track.isrc = parsed.isrc;
    track.discNumber = sheet.discNumber;
    track.name = CueTrackName(stem, parsed.number, parsed.tags.title);
    track.imagePath = FindImage(folder, parsed.file);
    result.failures.push_back(track.imagePath.empty() ? "could not find FILE \"" + parsed.file +
                                                            "\" named by the cue sheet"
                                                      : std::string());
    if (track.endFrame >= 0 && track.endFrame <= track.startFrame && result.failures.back().empty())
      result.failures.back() =
          "the cue sheet's track " + std::to_string(parsed.number) + " ends before it starts";
    result.tracks.push_back(std::move(track));
  }
  return result;
}

std::string CueSheetProblem(const std::string& sheetPath) {
  const CueSheetTracks sheet = ReadCueTracks(sheetPath);
  if (!sheet.error.empty()) return sheet.error;
  for (const std::string& failure : sheet.failures)
    if (!failure.empty()) return failure;
  return "the cue sheet's tracks could not be read";
}

}  // namespace quillo
