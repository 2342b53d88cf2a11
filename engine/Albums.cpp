#include "engine/Albums.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "engine/FileItemText.h"
#include "engine/media/PathName.h"

namespace quillo {

std::string AlbumKey(const FileItem& file) {
  // The tracks of one cue sheet are one album, whatever folder holds them.
  if (file.cueTrack) return "cue:" + file.cueTrack->sheetPath;
  const std::filesystem::path folder = std::filesystem::path(file.path).parent_path();
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, ec);
  return (ec ? folder.lexically_normal() : canonical).string();
}

LevelGain MeasureTogether(const std::vector<FileItem*>& files, const std::vector<size_t>& indexes,
                          const JoinShape* shape, RunEnvironment& env) {
  PassContext& pass = env.pass;
  LoudnessMeter meter(true, true);
  for (size_t i : indexes) {
    if (pass.progress.IsCancelled()) break;
    const FileItem& file = *files[i];
    if (LacksSoundFont(file, pass.backends)) continue;
    env.SetOutputCell(i, "Normalizing...");
    PassItem item{file.path, file.sourceKind, "", RowFileName(file)};
    if (file.cueTrack) item.cueTrack = &*file.cueTrack;
    Peaks peaks;
    const PassResult scanned = NormalizeScan(item, pass, peaks, &meter, shape);
    if (!scanned.ok && scanned.retryWithFramework && !pass.progress.IsCancelled()) {
      item.frameworkOnly = true;
      NormalizeScan(item, pass, peaks, &meter, shape);
    }
  }
  return LoudnessGain(meter, LoudnessTarget(pass.settings));
}

AlbumLevels::AlbumLevels(const std::vector<FileItem*>& files) : files_(files) {
  for (size_t i = 0; i < files.size(); ++i) {
    Album& album = albums_[AlbumKey(*files[i])];
    album.files.push_back(i);
    albumOf_.push_back(&album);
  }
}

LevelGain AlbumLevels::GainFor(size_t index, RunEnvironment& job) {
  Album& album = *albumOf_.at(index);
  std::call_once(album.measured, [&] {
    // A file of the album that fails to be measured fails again when it is
    // converted, with its own reason: this file's detail stays its own.
    const std::string detail = job.pass.job.failureDetail;
    album.gain = MeasureTogether(files_, album.files, nullptr, job);
    job.pass.job.failureDetail = detail;
  });
  return album.gain;
}

AlbumTags::AlbumTags(const std::vector<FileItem*>& files) : files_(files) {
  for (FileItem* file : files) {
    Album& album = albums_[AlbumKey(*file)];
    ++album.waiting;
    albumOf_.push_back(&album);
  }
}

AlbumTags::~AlbumTags() = default;

void AlbumTags::Keep(size_t index, std::unique_ptr<PendingOutput> pending) {
  std::lock_guard lock(mutex_);
  kept_[index] = std::move(pending);
}

std::vector<EndedFile> AlbumTags::Settle(EndedFile ended, RunEnvironment& job) {
  std::vector<Held> complete;
  std::vector<EndedFile> ending;
  {
    std::lock_guard lock(mutex_);
    Album& album = *albumOf_.at(ended.index);
    --album.waiting;
    const auto kept = kept_.find(ended.index);
    if (IsWritten(ended.outcome.state) && kept != kept_.end()) {
      job.SetOutputCell(ended.index, "Waiting for its album...");
      album.held.push_back({std::move(ended), std::move(kept->second)});
      kept_.erase(kept);
    } else {
      ending.push_back(std::move(ended));
    }
    // After a cancel the album is incomplete: its held files are drained.
    if (album.waiting == 0 && !job.pass.progress.IsCancelled()) complete.swap(album.held);
  }
  if (complete.empty()) return ending;

  // The album's loudness is that of its tracks' audio together, as written.
  LoudnessMeter together(false);
  for (Held& held : complete)
    if (held.ended.state.trackMeter) together.Absorb(*held.ended.state.trackMeter);
  const std::optional<TrackGain> albumGain = ReplayGainOf(together);
  for (Held& held : complete) {
    EndedFile& file = held.ended;
    PassContext pass{job.pass.settings, job.pass.row,     file.state,
                     job.pass.backends, job.pass.factory, job.pass.progress};
    RunEnvironment env{pass, job.prompts, job.list, job.documentsFolder, job.result};
    // One file's failure here (memory running out) fails that file alone;
    // the album's other outputs still end.
    try {
      file.outcome =
          CompleteOutput(*files_[file.index], *held.pending, file.outcome, albumGain, env);
    } catch (const std::exception& error) {
      held.pending->Discard();
      file.state.failureDetail = error.what();
      file.outcome = ConversionFailed(error.what());
    }
    ending.push_back(std::move(file));
  }
  return ending;
}

std::vector<EndedFile> AlbumTags::Drain() {
  std::lock_guard lock(mutex_);
  std::vector<EndedFile> ending;
  for (auto& [key, album] : albums_) {
    for (Held& held : album.held) {
      held.pending->Discard();
      held.ended.outcome = FileOutcome{FileResult::State::Cancelled, {}, {}};
      ending.push_back(std::move(held.ended));
    }
    album.held.clear();
  }
  kept_.clear();
  return ending;
}

}  // namespace quillo
