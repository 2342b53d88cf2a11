#include "engine/PendingOutput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

}  // namespace

PendingOutput::PendingOutput(std::string target) : target_(std::move(target)) {}

PendingOutput::~PendingOutput() { Discard(); }

bool PendingOutput::Create() {
  Discard();
  namespace fs = std::filesystem;
  const fs::path target(target_);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  // Keep the target's extension so that anything that looks at the name sees
  // the right kind of file; a leading dot keeps the half-written file hidden.
  std::string extension = target.extension().string();
  if (extension.size() > 16) extension.clear();
  std::string pattern = (folder / ".quillo-XXXXXX").string() + extension;

  const int fd = mkstemps(pattern.data(), static_cast<int>(extension.size()));
  if (fd < 0) return false;
  fchmod(fd, FinalMode(target_));
  close(fd);
  path_ = std::move(pattern);
  committed_ = false;
  return true;
}

bool PendingOutput::Commit() {
  if (path_.empty()) return false;
  if (std::rename(path_.c_str(), target_.c_str()) != 0) return false;
  path_.clear();
  committed_ = true;
  return true;
}

void PendingOutput::Discard() {
  if (path_.empty()) return;
  unlink(path_.c_str());
  path_.clear();
}

}  // namespace quillo
