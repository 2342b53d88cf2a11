#include "engine/output/PendingOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <utility>

namespace quillo {

namespace {

// The process's file creation mask, read without changing it (umask() would
// change it for every thread while we look).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  }
  return 022;
}

// The permissions the finished file should have: those of the file it
// replaces, or what a newly created file would get. The temporary file itself
// is created private (0600).
mode_t FinalMode(const std::string& target) {
  struct stat info {};
  if (stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  return 0666 & ~CurrentUmask();
}

// The temporary name: hidden, with the program's name and the target's name
// and extension, so that a file left by a killed run is easy to recognise
// (".song.quillo-part-a1B2c3.mp3") and is not taken for a finished output.
std::string TemporaryPattern(const std::filesystem::path& target, size_t& suffixLength) {
  std::string extension = target.extension().string();
  if (extension.size() > 16) extension.clear();
  std::string stem = target.filename().string();
  stem.resize(stem.size() - extension.size());
  // Stay within the file system's name limit: cut the stem, never inside a
  // UTF-8 sequence.
  constexpr size_t kNameMax = 255;
  const std::string decoration = ".quillo-part-XXXXXX";
  const size_t room = kNameMax - 1 - decoration.size() - extension.size();
  if (stem.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    stem.resize(cut);
  }
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  suffixLength = extension.size();
  return (folder / ("." + stem + decoration + extension)).string();
}

bool SyncPath(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  const int error = errno;
  close(fd);
  errno = error;
  return synced;
}

}  // namespace

PendingOutput::PendingOutput(std::string target) : target_(std::move(target)) {}

PendingOutput::~PendingOutput() { Discard(); }

bool PendingOutput::Create() {
  Discard();
  error_.clear();
  size_t suffixLength = 0;
  std::string pattern = TemporaryPattern(target_, suffixLength);
  const int fd = mkstemps(pattern.data(), static_cast<int>(suffixLength));
  if (fd < 0) {
    error_ = std::strerror(errno);
    return false;
  }
  fchmod(fd, FinalMode(target_));
  close(fd);
  path_ = std::move(pattern);
  return true;
}

bool PendingOutput::Commit() {
  if (path_.empty()) return false;
  // The data reaches the disk before the name does: after a crash the target
  // is either the old file or the complete new one.
  if (!SyncPath(path_, O_RDONLY) || std::rename(path_.c_str(), target_.c_str()) != 0) {
    error_ = std::strerror(errno);
    return false;
  }
  path_.clear();
  const std::string folder = std::filesystem::path(target_).parent_path().string();
  SyncPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY);
  return true;
}

void PendingOutput::Discard() {
  if (path_.empty()) return;
  unlink(path_.c_str());
  path_.clear();
}

}  // namespace quillo
