#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "backends/bass/AudioStream.h"
#include "backends/bass/LibraryHandles.h"

namespace quillo::audio {

// What a ".cda" file (the 44-byte RIFF "CDDA" stub a CD drive shows for each
// audio track) says of its track.
// The track numbers an audio CD can hold.
inline constexpr int kFirstCdTrack = 1;
inline constexpr int kLastCdTrack = 99;

struct CdaHeader {
  int track = 0;  // kFirstCdTrack..kLastCdTrack
  uint32_t startSector = 0;
  uint32_t lengthSectors = 0;
};

// Reads the stub; nothing when it is no well-formed "CDDA" file.
std::optional<CdaHeader> ParseCdaHeader(std::span<const uint8_t> bytes);

// The device mounted at the longest mount point that holds `path`, from the
// text of /proc/self/mountinfo; empty when none does.
std::string MountSourceFor(const std::string& mountinfo, const std::string& path);

// An audio track read from the CD drive that holds the ".cda" file, through
// libcdio-paranoia, as 16-bit stereo at 44100 Hz. A ".cda" file that is not
// on a CD drive opens nothing. `head` holds the file's first bytes, as read
// to recognise it.
class CdTrackStream final : public AudioStream {
 public:
  static std::unique_ptr<AudioStream> Open(const std::string& path, std::span<const uint8_t> head);

 protected:
  size_t Decode(uint8_t* buffer, size_t bytes) override;

 private:
  CdTrackStream() = default;

  CdDrivePtr drive_;
  ParanoiaPtr paranoia_;
  uint32_t sectorsLeft_ = 0;
  uint8_t sector_[2352] = {};
  size_t sectorOffset_ = sizeof sector_;
};

}  // namespace quillo::audio
