#include "backends/files/RawPcmWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>

#include "engine/media/MediaSource.h"

namespace quillo {

namespace {

void PutLe16(uint8_t* out, int16_t sample) {
  const auto value = static_cast<uint16_t>(sample);
  out[0] = static_cast<uint8_t>(value & 0xFF);
  out[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

RawPcmWriter::~RawPcmWriter() {
  if (fd_ >= 0) close(fd_);
}

bool RawPcmWriter::Fail(int error) {
  error_ = std::strerror(error);
  return false;
}

bool RawPcmWriter::Open() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  error_.clear();
  if (path_.empty()) return false;
  fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd_ >= 0 || Fail(errno);
}

bool RawPcmWriter::Close() {
  if (fd_ < 0) return false;
  // close() is where a network or quota file system reports a lost write.
  const bool closed = close(fd_) == 0 || Fail(errno);
  fd_ = -1;
  path_.clear();
  return closed;
}

bool RawPcmWriter::WriteAll(const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd_, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(errno);
    if (n == 0) return Fail(ENOSPC);
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool RawPcmWriter::Write(const int16_t* left, const int16_t* right, int frames) {
  if (fd_ < 0 || frames < 0) return false;
  if (frames == 0) return true;
  if (left == nullptr || (channels_ == 2 && right == nullptr)) return false;

  if (channels_ != 2 && std::endian::native == std::endian::little) {
    return WriteAll(reinterpret_cast<const uint8_t*>(left), static_cast<size_t>(frames) * 2);
  }

  // Interleave (or byte-swap) through one block of kMaxBlockFrames frames.
  const int perFrame = channels_ == 2 ? 2 : 1;
  std::array<uint8_t, kMaxBlockFrames * 4> block;
  int done = 0;
  while (done < frames) {
    const int count = std::min(frames - done, kMaxBlockFrames);
    uint8_t* out = block.data();
    for (int i = 0; i < count; ++i) {
      PutLe16(out, left[done + i]);
      out += 2;
      if (perFrame == 2) {
        PutLe16(out, right[done + i]);
        out += 2;
      }
    }
    if (!WriteAll(block.data(), static_cast<size_t>(count) * 2 * perFrame)) return false;
    done += count;
  }
  return true;
}

}  // namespace quillo
