#include "backends/tags/CheckedFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

namespace quillo {

namespace {

// The piece of the file moved at a time when a tag grows or shrinks.
constexpr size_t kMoveBuffer = 64 * 1024;

}  // namespace

CheckedFileStream::CheckedFileStream(std::string path) : path_(std::move(path)) {
  fd_ = open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd_ < 0) Fail(errno);
}

CheckedFileStream::~CheckedFileStream() {
  if (fd_ >= 0) close(fd_);
}

TagLib::FileName CheckedFileStream::name() const { return path_.c_str(); }

void CheckedFileStream::Fail(int error) {
  if (error_.empty()) error_ = std::strerror(error != 0 ? error : EIO);
}

long CheckedFileStream::ReadAt(char* data, size_t size, long offset) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = pread(fd_, data + done, size - done, offset + static_cast<long>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Fail(errno);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<long>(done);
}

bool CheckedFileStream::WriteAt(const char* data, size_t size, long offset) {
  if (fd_ < 0 || failed()) return false;
  written_ = true;
  size_t done = 0;
  while (done < size) {
    const ssize_t put = pwrite(fd_, data + done, size - done, offset + static_cast<long>(done));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      // A write that takes nothing without an error is a full disk too.
      Fail(put < 0 ? errno : ENOSPC);
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

TagLib::ByteVector CheckedFileStream::readBlock(unsigned long length) {
  const long left = this->length() - position_;
  if (fd_ < 0 || length == 0 || left <= 0) return {};
  // Never more than the file holds: a damaged size field asks for gigabytes.
  const size_t size = std::min<size_t>({length, static_cast<size_t>(left), UINT_MAX});
  TagLib::ByteVector block(static_cast<unsigned>(size));
  const long got = ReadAt(block.data(), size, position_);
  block.resize(static_cast<unsigned>(got));
  position_ += got;
  return block;
}

void CheckedFileStream::writeBlock(const TagLib::ByteVector& data) {
  WriteAt(data.data(), data.size(), position_);
  position_ += static_cast<long>(data.size());
}

bool CheckedFileStream::MoveTail(long from, long to) {
  const long size = length();
  from = std::min(from, size);
  if (from == to) return !failed();
  std::vector<char> buffer(kMoveBuffer);
  const long shift = to - from;
  if (shift > 0) {
    // Growing: from the end backwards, so that nothing is overwritten before
    // it was moved.
    for (long end = size; end > from;) {
      const long begin = std::max(from, end - static_cast<long>(buffer.size()));
      const size_t piece = static_cast<size_t>(end - begin);
      if (ReadAt(buffer.data(), piece, begin) != static_cast<long>(piece)) {
        Fail(EIO);
        return false;
      }
      if (!WriteAt(buffer.data(), piece, begin + shift)) return false;
      end = begin;
    }
    return !failed();
  }
  for (long begin = from; begin < size;) {
    const size_t piece = std::min(buffer.size(), static_cast<size_t>(size - begin));
    if (ReadAt(buffer.data(), piece, begin) != static_cast<long>(piece)) {
      Fail(EIO);
      return false;
    }
    if (!WriteAt(buffer.data(), piece, begin + shift)) return false;
    begin += static_cast<long>(piece);
  }
  truncate(size + shift);
  return !failed();
}

void CheckedFileStream::insert(const TagLib::ByteVector& data, unsigned long start,
                               unsigned long replace) {
  const long at = static_cast<long>(start);
  const long end = at + static_cast<long>(replace);
  const long newEnd = at + static_cast<long>(data.size());
  // The bytes after the replaced range move to where the new data ends, then
  // the data goes in.
  if (MoveTail(end, newEnd)) WriteAt(data.data(), data.size(), at);
  position_ = newEnd;
}

void CheckedFileStream::removeBlock(unsigned long start, unsigned long length) {
  const long at = static_cast<long>(start);
  MoveTail(at + static_cast<long>(length), at);
}

bool CheckedFileStream::readOnly() const { return fd_ < 0; }

bool CheckedFileStream::isOpen() const { return fd_ >= 0; }

void CheckedFileStream::seek(long offset, Position p) {
  long base = 0;
  if (p == Current) base = position_;
  if (p == End) base = length();
  // A position before the start is refused, as a file's seek refuses it.
  if (base + offset >= 0) position_ = base + offset;
}

// Nothing sticks in this stream but a failure, and that must stay.
void CheckedFileStream::clear() {}

long CheckedFileStream::tell() const { return position_; }

long CheckedFileStream::length() {
  struct stat info {};
  if (fd_ < 0) return 0;
  if (fstat(fd_, &info) != 0) {
    Fail(errno);
    return 0;
  }
  return static_cast<long>(info.st_size);
}

void CheckedFileStream::truncate(long length) {
  if (fd_ < 0 || failed()) return;
  written_ = true;
  while (ftruncate(fd_, length) != 0) {
    if (errno != EINTR) {
      Fail(errno);
      return;
    }
  }
}

bool CheckedFileStream::Close() {
  if (fd_ >= 0 && close(fd_) != 0 && errno != EINTR) Fail(errno);
  fd_ = -1;
  return !failed();
}

}  // namespace quillo
