#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>

namespace quillo {

// The settings file is a few kilobytes; anything much larger is not one,
// and is refused before it is read.
inline constexpr std::size_t kMaxSettingsBytes = 1u << 20;

// The settings file's bytes as they are on disk, read whole in one go.
struct SettingsDocument {
  enum class State { Missing, Read, Unusable };
  State state = State::Missing;
  std::string bytes;
  struct stat info {};  // the file's owner and mode, when read
  // Why the file cannot serve (Unusable), as the end of a sentence that
  // starts with the file's name: "cannot be read (Not a regular file)".
  std::string problem;
};

// The file a chain of symbolic links ends at (which need not exist); the
// path itself when it is no link.
std::string FollowLinks(const std::string& path);

// Reads a regular file of at most kMaxSettingsBytes, whole. A FIFO or a
// device is never opened: opening one could block or act on the device.
SettingsDocument ReadSettingsDocument(const std::string& path);

// Why the bytes cannot be a settings file we wrote or the user edited:
// control characters that only binary data holds; empty when they can be.
std::string BinaryProblem(const std::string& bytes);

// Replaces the file at `path` (no link) by `bytes` in one step: a new file
// written beside it, flushed to disk and renamed over it, so that a reader
// sees the old file or the new one, never a part. With `existing`, the new
// file keeps its owner and mode. False with the reason in `error`.
bool ReplaceSettingsDocument(const std::string& path, const std::string& bytes,
                             const struct stat* existing, std::string& error);

}  // namespace quillo
