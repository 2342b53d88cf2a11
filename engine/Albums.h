#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/RunLoop.h"

namespace quillo {

// The album a file belongs to: the folder that holds it (links and ".."
// resolved). Files with the same key are measured together for the album's
// ReplayGain values and its loudness.
std::string AlbumKey(const FileItem& file);

// Measures `files` together (the entries of `indexes`, their cells saying
// so) and returns the one gain that brings their audio as a whole to the
// loudness target, the true-peak limit applying to their highest true peak.
// Each file is measured as it will be written: at `shape` when given (a
// join), otherwise at what the row chooses for it.
LevelGain MeasureTogether(const std::vector<FileItem*>& files, const std::vector<size_t>& indexes,
                          const JoinShape* shape, RunEnvironment& env);

// The loudness gains of a run that brings each album, not each file, to the
// target. The first job that needs an album's gain measures all its files;
// the jobs that need it meanwhile wait for it (the measuring job waits for
// none, so none waits for ever).
class AlbumLevels {
 public:
  explicit AlbumLevels(const std::vector<FileItem*>& files);
  LevelGain GainFor(size_t index, RunEnvironment& job);

 private:
  struct Album {
    std::once_flag measured;
    LevelGain gain;
    std::vector<size_t> files;
  };
  const std::vector<FileItem*>& files_;
  std::map<std::string, Album> albums_;
  std::vector<Album*> albumOf_;
};

// Holds back the converted files of each album until its last file has
// ended, then adds the album's ReplayGain values (its tracks' audio
// measured together, its peak the largest) beside each file's own and gives
// the outputs their names. A file that fails ends at once and does not count
// in its album's values.
class AlbumTags final : public FileHold {
 public:
  explicit AlbumTags(const std::vector<FileItem*>& files);
  ~AlbumTags() override;

  // Keeps the converted output of file `index` until its album is complete;
  // the file's step calls it before it returns.
  void Keep(size_t index, std::unique_ptr<PendingOutput> pending);

  std::vector<EndedFile> Settle(EndedFile ended, RunEnvironment& job) override;
  std::vector<EndedFile> Drain() override;

 private:
  struct Held {
    EndedFile ended;
    std::unique_ptr<PendingOutput> pending;
  };
  struct Album {
    size_t waiting = 0;  // files of the album that have not ended yet
    std::vector<Held> held;
  };
  const std::vector<FileItem*>& files_;
  std::mutex mutex_;
  std::map<std::string, Album> albums_;
  std::vector<Album*> albumOf_;
  std::map<size_t, std::unique_ptr<PendingOutput>> kept_;
};

}  // namespace quillo
