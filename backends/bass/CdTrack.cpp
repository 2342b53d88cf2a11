#include "backends/bass/CdTrack.h"

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "backends/bass/FormatSniff.h"
#include "base/RegularFile.h"
#include "engine/media/ByteReader.h"

namespace quillo::audio {

namespace {

constexpr size_t kSectorBytes = 2352;
constexpr size_t kCdaBytes = 44;

// Mount points escape blanks and a few other bytes as backslash and octal.
std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      const std::string digits = text.substr(i + 1, 3);
      if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        out += static_cast<char>(std::stoi(digits, nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

bool IsOpticalDrive(const std::string& device) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(device, ec);
  if (ec) return false;
  char** drives = cdio_get_devices(DRIVER_DEVICE);
  bool found = false;
  for (char** d = drives; d != nullptr && *d != nullptr && !found; ++d) {
    const std::filesystem::path candidate = std::filesystem::canonical(*d, ec);
    found = !ec && candidate == real;
  }
  cdio_free_device_list(drives);
  return found;
}

}  // namespace

std::optional<CdaHeader> ParseCdaHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kCdaBytes || !IsCdaHead(bytes)) return std::nullopt;
  // After the RIFF header, a "fmt " chunk of at least 24 bytes: a version,
  // the track number, the disc's serial number, then the track's first
  // sector and length.
  ByteReader reader(bytes.subspan(12));
  const std::optional<std::string_view> id = reader.Tag();
  const uint32_t size = reader.U32(ByteOrder::Little).value_or(0);
  reader.Skip(2);
  CdaHeader header;
  header.track = reader.U16(ByteOrder::Little).value_or(0);
  reader.Skip(4);
  header.startSector = reader.U32(ByteOrder::Little).value_or(0);
  header.lengthSectors = reader.U32(ByteOrder::Little).value_or(0);
  if (id != "fmt " || size < 24 || header.track < kFirstCdTrack || header.track > kLastCdTrack)
    return std::nullopt;
  return header;
}

std::string MountSourceFor(const std::string& mountinfo, const std::string& path) {
  std::istringstream lines(mountinfo);
  std::string line;
  std::string best;
  size_t bestLength = 0;
  while (std::getline(lines, line)) {
    // id parent major:minor root mount-point options [optional...] - type source super-options
    std::istringstream fields(line);
    std::string id, parent, numbers, root, mountPoint;
    if (!(fields >> id >> parent >> numbers >> root >> mountPoint)) continue;
    const size_t dash = line.find(" - ");
    if (dash == std::string::npos) continue;
    std::istringstream tail(line.substr(dash + 3));
    std::string type, source;
    if (!(tail >> type >> source)) continue;
    mountPoint = Unescape(mountPoint);
    const bool inside = path == mountPoint || mountPoint == "/" ||
                        (path.compare(0, mountPoint.size(), mountPoint) == 0 &&
                         path.size() > mountPoint.size() && path[mountPoint.size()] == '/');
    if (inside && mountPoint.size() >= bestLength) {
      best = Unescape(source);
      bestLength = mountPoint.size();
    }
  }
  return best;
}

std::unique_ptr<AudioStream> CdTrackStream::Open(const std::string& path,
                                                 std::span<const uint8_t> head) {
  if (!RegularFileProblem(path).empty()) return nullptr;
  const std::optional<CdaHeader> header = ParseCdaHeader(head);
  if (!header) return nullptr;
  std::error_code ec;
  const std::string real = std::filesystem::canonical(path, ec).string();
  if (ec) return nullptr;
  std::ifstream mounts("/proc/self/mountinfo");
  const std::string mountinfo((std::istreambuf_iterator<char>(mounts)),
                              std::istreambuf_iterator<char>());
  const std::string device = MountSourceFor(mountinfo, real);
  if (device.empty() || !IsOpticalDrive(device)) return nullptr;

  std::unique_ptr<CdTrackStream> stream(new CdTrackStream);
  stream->drive_.reset(cdio_cddap_identify(device.c_str(), CDDA_MESSAGE_FORGETIT, nullptr));
  cdrom_drive_t* drive = stream->drive_.get();
  if (drive == nullptr) return nullptr;
  if (cdio_cddap_open(drive) != 0) return nullptr;
  const auto track = static_cast<track_t>(header->track);
  if (track > cdio_cddap_tracks(drive) || !cdio_cddap_track_audiop(drive, track)) return nullptr;
  const lsn_t first = cdio_cddap_track_firstsector(drive, track);
  const lsn_t last = cdio_cddap_track_lastsector(drive, track);
  if (first < 0 || last < first) return nullptr;
  stream->paranoia_.reset(cdio_paranoia_init(drive));
  cdrom_paranoia_t* paranoia = stream->paranoia_.get();
  if (paranoia == nullptr) return nullptr;
  cdio_paranoia_modeset(paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
  cdio_paranoia_seek(paranoia, first, SEEK_SET);
  stream->sectorsLeft_ = static_cast<uint32_t>(last - first + 1);
  stream->info_ = {44100, 2, false, {}};
  stream->length_ = uint64_t{stream->sectorsLeft_} * kSectorBytes;
  return stream;
}

size_t CdTrackStream::Decode(uint8_t* buffer, size_t bytes) {
  size_t filled = 0;
  while (filled < bytes) {
    if (sectorOffset_ >= kSectorBytes) {
      if (sectorsLeft_ == 0) break;
      const int16_t* data = cdio_paranoia_read(paranoia_.get(), nullptr);
      if (data == nullptr) break;
      std::memcpy(sector_, data, kSectorBytes);
      --sectorsLeft_;
      sectorOffset_ = 0;
    }
    const size_t take = std::min(bytes - filled, kSectorBytes - sectorOffset_);
    std::memcpy(buffer + filled, sector_ + sectorOffset_, take);
    sectorOffset_ += take;
    filled += take;
  }
  return filled;
}

void ReleaseHandle(cdrom_drive_t* drive) { cdio_cddap_close(drive); }
void ReleaseHandle(cdrom_paranoia_t* paranoia) { cdio_paranoia_free(paranoia); }

}  // namespace quillo::audio
