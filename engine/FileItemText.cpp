#include "engine/FileItemText.h"

#include <cstdio>
#include <filesystem>

#include "engine/media/PathName.h"

namespace quillo {

std::string DurationCell(uint32_t seconds) {
  if (seconds == 0) return {};
  char text[32];
  if (seconds < 3600)
    std::snprintf(text, sizeof text, "%02u:%02u", seconds / 60, seconds % 60);
  else
    std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
  return text;
}

std::string BitRateCell(int kbps) {
  return kbps == 0 ? std::string() : std::to_string(kbps) + " kbps";
}

std::string SampleRateCell(int hz) { return hz == 0 ? std::string() : std::to_string(hz) + " Hz"; }

std::string ChannelsCell(int channels) {
  static const char* const kNames[] = {"Mono", "Mono", "Stereo", "2.1", "4.0",
                                       "5.0",  "5.1",  "6.1",    "7.1"};
  if (channels >= 0 && channels <= 8) return kNames[channels];
  return std::to_string(channels);
}

std::string RowName(const FileItem& item) {
  return item.cueTrack ? item.cueTrack->name : FileNamePart(item.path);
}

std::string RowFileName(const FileItem& item) {
  if (!item.cueTrack) return FileNamePart(item.path);
  return item.cueTrack->name + std::filesystem::path(item.path).extension().string();
}

}  // namespace quillo
