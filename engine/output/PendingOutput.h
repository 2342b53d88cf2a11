#pragma once

#include <string>

namespace quillo {

// An output that appears under its name only once it is complete. Create makes
// an empty temporary file beside the target (exclusively, never by guessing a free
// name); the sink writes to path(); Commit renames it over the target. Until
// then the old target stays untouched, and a PendingOutput that is destroyed
// without a successful Commit removes its temporary file.
class PendingOutput {
 public:
  explicit PendingOutput(std::string target);
  ~PendingOutput();
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  // Creates the temporary file; false when the target's folder is not writable.
  bool Create();
  // Syncs the finished output to the disk and moves it into place; false (the
  // target untouched) when that fails.
  bool Commit();
  // Removes the temporary file now.
  void Discard();

  // The temporary file to write to; empty before Create and after Commit.
  const std::string& path() const { return path_; }
  // Why the last Create or Commit failed, in words.
  const std::string& error() const { return error_; }

 private:
  std::string target_;
  std::string path_;
  std::string error_;
};

}  // namespace quillo
