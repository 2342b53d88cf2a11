#include "engine/ProbeCue.h"

#include <algorithm>

namespace quillo {

namespace {

// The row's length in whole seconds: to the next track, or to the image's end.
uint32_t TrackSeconds(const CueTrack& track, uint32_t imageSeconds) {
  if (track.endFrame >= 0)
    return static_cast<uint32_t>((track.endFrame - track.startFrame) / kCueFramesPerSecond);
  const int64_t start = track.startFrame / kCueFramesPerSecond;
  return imageSeconds > start ? static_cast<uint32_t>(imageSeconds - start) : 0;
}

}  // namespace

CueSheetsToAdd::CueSheetsToAdd(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (!IsCueSheetPath(path)) continue;
    for (const CueTrack& track : Tracks(path).tracks)
      if (!track.imagePath.empty()) imageKeys_.push_back(FileListKey(track.imagePath));
  }
}

bool CueSheetsToAdd::IsCutImage(const std::string& path) const {
  if (imageKeys_.empty()) return false;
  return std::find(imageKeys_.begin(), imageKeys_.end(), FileListKey(path)) != imageKeys_.end();
}

const CueSheetTracks& CueSheetsToAdd::Tracks(const std::string& path) {
  auto found = sheets_.find(path);
  if (found == sheets_.end()) found = sheets_.emplace(path, ReadCueTracks(path)).first;
  return found->second;
}

std::vector<ProbeResult> ProbeCueSheet(const CueSheetTracks& sheet, const std::string& sheetPath,
                                       FileList& list, const BackendTable& backends,
                                       UserPrompts* prompts) {
  std::vector<ProbeResult> results;
  if (!sheet.error.empty()) {
    results.push_back(ProbeResult{ProbeResult::Status::Failed, -1, sheet.error, false});
    return results;
  }
  // The image's properties, probed once for all its tracks.
  std::map<std::string, std::pair<std::optional<FileItem>, ProbeResult>> images;
  for (size_t i = 0; i < sheet.tracks.size(); ++i) {
    const CueTrack& track = sheet.tracks[i];
    ProbeResult result;
    const std::string key = FileListKey(sheetPath) + "#" + std::to_string(track.number);
    if (!sheet.failures[i].empty()) {
      result.detail = sheet.failures[i];
    } else if (list.ContainsKey(key)) {
      result.status = ProbeResult::Status::Duplicate;
    } else {
      auto image = images.find(track.imagePath);
      if (image == images.end()) {
        ProbeResult probed;
        std::optional<FileItem> item = ProbeItem(track.imagePath, backends, prompts, probed);
        image = images.emplace(track.imagePath, std::make_pair(std::move(item), probed)).first;
      }
      const auto& [imageItem, imageResult] = image->second;
      result = imageResult;
      if (imageItem) {
        FileItem item = *imageItem;
        item.duration = TrackSeconds(track, imageItem->duration);
        item.cueTrack = track;
        result.status = ProbeResult::Status::Added;
        result.row = list.Append(std::move(item), key);
      }
    }
    results.push_back(std::move(result));
  }
  return results;
}

}  // namespace quillo
