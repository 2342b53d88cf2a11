#include "engine/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <thread>

#include "catalog/Catalog.h"
#include "engine/Albums.h"
#include "engine/SourceFactory.h"
#include "engine/media/PathName.h"

namespace quillo {

namespace {

// Calls `call` holding `mutex`.
template <typename Call>
auto Locked(std::mutex& mutex, Call call) {
  std::lock_guard lock(mutex);
  return call();
}

// The front end's progress display shared by the jobs, one call at a time.
// The lower caption says how many files have started, the lower bar counts
// the files done; the upper caption and bar follow one running file until it
// ends, then the first running file in list order. Following one file keeps
// the bar from jumping between files converting at once; with one job it is
// exactly the one-at-a-time display.
class SharedProgress {
 public:
  SharedProgress(ConversionProgress& display, int files, std::string target)
      : display_(display), files_(files), target_(std::move(target)) {
    display_.SetOverallRange(files);
    display_.Pump();
  }

  void Started(size_t job, size_t index, const std::string& name) {
    std::lock_guard lock(mutex_);
    ++started_;
    display_.SetOverallText("Converting " + std::to_string(started_) + " of " +
                            std::to_string(files_) + " file(s) to " + target_ + "...");
    running_[job] = {index, "Starting to convert " + name + "...", 0};
    Show();
  }
  // The job's file is done; the overall bar counts it when it had started.
  void Finished(size_t job) {
    std::lock_guard lock(mutex_);
    if (running_.erase(job) == 0) return;
    display_.StepOverall();
    Show();
  }
  void Text(size_t job, const std::string& text) {
    std::lock_guard lock(mutex_);
    const auto found = running_.find(job);
    if (found == running_.end()) return;
    found->second.text = text;
    Show();
  }
  void Bar(size_t job, int position) {
    std::lock_guard lock(mutex_);
    const auto found = running_.find(job);
    if (found == running_.end() || found->second.bar == position) return;
    found->second.bar = position;
    Show();
  }
  int BarWidth() const {
    return Locked(mutex_, [&] { return display_.FileBarWidth(); });
  }
  void Pump() {
    Locked(mutex_, [&] { display_.Pump(); });
  }
  bool IsCancelled() const {
    return Locked(mutex_, [&] { return display_.IsCancelled(); });
  }

 private:
  struct Running {
    size_t index = 0;
    std::string text;
    int bar = 0;
  };

  // The followed file while it runs, else the first running one in list
  // order; between files the last texts stay, as they do in a one-at-a-time
  // run.
  void Show() {
    auto shown = running_.find(followedJob_);
    if (shown == running_.end() || shown->second.index != followedIndex_) {
      shown = std::min_element(running_.begin(), running_.end(), [](const auto& a, const auto& b) {
        return a.second.index < b.second.index;
      });
      if (shown == running_.end()) return;
      followedJob_ = shown->first;
      followedIndex_ = shown->second.index;
    }
    const Running* followed = &shown->second;
    if (followed->text != shownText_) {
      shownText_ = followed->text;
      display_.SetFileText(shownText_);
    }
    if (followed->bar != shownBar_) {
      shownBar_ = followed->bar;
      display_.SetFileBar(shownBar_);
    }
  }

  ConversionProgress& display_;
  const int files_;
  const std::string target_;
  mutable std::mutex mutex_;
  int started_ = 0;
  std::map<size_t, Running> running_;
  size_t followedJob_ = 0, followedIndex_ = 0;
  std::string shownText_;
  int shownBar_ = -1;
};

// One job's view of the shared display.
class JobProgress final : public ConversionProgress {
 public:
  JobProgress(SharedProgress& shared, size_t job) : shared_(shared), job_(job) {}
  // The run's own captions come from the shared display.
  void SetOverallText(const std::string&) override {}
  void SetOverallRange(int) override {}
  void StepOverall() override {}
  void SetFileText(const std::string& text) override { shared_.Text(job_, text); }
  int FileBarWidth() const override { return shared_.BarWidth(); }
  void SetFileBar(int position) override { shared_.Bar(job_, position); }
  void Pump() override { shared_.Pump(); }
  bool IsCancelled() const override { return shared_.IsCancelled(); }

 private:
  SharedProgress& shared_;
  size_t job_;
};

// The list, one call at a time, under the run's result mutex. A file's end
// (FinishFile, or the failure of a file a job held) and the run's totals are
// written under it too. The cell texts a running file copies into its own
// result entry are not: only the job that holds the file touches that entry
// until its end, and the entries never move (sized before the run starts).
class LockedList final : public RunListView {
 public:
  LockedList(RunListView& list, std::mutex& mutex) : list_(list), mutex_(mutex) {}
  void SetVolumeCell(size_t file, const std::string& text) override {
    Locked(mutex_, [&] { list_.SetVolumeCell(file, text); });
  }
  void SetOutputCell(size_t file, const std::string& text) override {
    Locked(mutex_, [&] { list_.SetOutputCell(file, text); });
  }
  void EnsureVisible(size_t file) override {
    Locked(mutex_, [&] { list_.EnsureVisible(file); });
  }
  void WidenOutputColumn(int pixels) override {
    Locked(mutex_, [&] { list_.WidenOutputColumn(pixels); });
  }
  void FileEnded(size_t file, const FileResult& result) override {
    Locked(mutex_, [&] { list_.FileEnded(file, result); });
  }

 private:
  RunListView& list_;
  std::mutex& mutex_;
};

// The questions, one at a time.
class LockedPrompts final : public UserPrompts {
 public:
  explicit LockedPrompts(UserPrompts& prompts) : prompts_(prompts) {}
  void Inform(const std::string& text) override {
    Locked(mutex_, [&] { prompts_.Inform(text); });
  }
  void Warn(const std::string& text) override {
    Locked(mutex_, [&] { prompts_.Warn(text); });
  }
  void Note(const std::string& text) override {
    Locked(mutex_, [&] { prompts_.Note(text); });
  }
  bool AskYesNo(const std::string& text) override {
    return Locked(mutex_, [&] { return prompts_.AskYesNo(text); });
  }
  std::optional<std::string> AskOutputFile(const std::string& suggested) override {
    return Locked(mutex_, [&] { return prompts_.AskOutputFile(suggested); });
  }
  void OpenLocation(const std::string& location) override {
    Locked(mutex_, [&] { prompts_.OpenLocation(location); });
  }

 private:
  UserPrompts& prompts_;
  std::mutex mutex_;
};

// What an exception says, as a file's failure detail.
std::string ExceptionReason(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return std::strerror(ENOMEM);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown error";
  }
}

// A failed file's outcome, its reason kept as the job's failure detail.
FileOutcome FailedWith(const std::string& reason, ConversionJob& job) {
  job.failureDetail = reason;
  return ConversionFailed(reason);
}

// Runs one file's step. An exception that escapes it fails that file alone
// and the run goes on: on a worker thread it would end the process through
// std::terminate, leaving temporary files behind. The stack unwinds on the
// way here, so the file's source, sink and temporary output are released.
FileOutcome RunStep(const FileStep& step, size_t index, FileItem& file, RunEnvironment& job) {
  try {
    return step(index, file, job);
  } catch (...) {
    return FailedWith(ExceptionReason(std::current_exception()), job.pass.job);
  }
}

}  // namespace

void RunFiles(std::vector<FileItem*>& files, const std::string& target, RunEnvironment& env,
              int jobs, const FileStep& step, FileHold* hold) {
  const PassContext& shared = env.pass;
  RunResult& result = env.result;
  SharedProgress progress(shared.progress, static_cast<int>(files.size()), target);
  std::mutex resultMutex;
  LockedList list(env.list, resultMutex);
  LockedPrompts prompts(env.prompts);
  std::atomic<size_t> next{0};
  bool widened = false;

  // Ends the files handed back, with the state of the job that ran each;
  // false when the run stops (a cancel). Holds the result mutex.
  const auto finish = [&](std::vector<EndedFile>& ended, SourceFactory& factory,
                          ConversionProgress& jobProgress) {
    std::lock_guard lock(resultMutex);
    bool goOn = true;
    for (EndedFile& file : ended) {
      PassContext pass{shared.settings, shared.row, file.state,
                       shared.backends, factory,    jobProgress};
      // FinishFile shows the cells itself: the list is already locked here.
      RunEnvironment finishing{pass, prompts, env.list, env.documentsFolder, result};
      goOn = FinishFile(file.index, *files[file.index], file.outcome, finishing, widened) && goOn;
      result.files[file.index].seconds = file.seconds;
      env.list.FileEnded(file.index, result.files[file.index]);
    }
    return goOn;
  };

  const auto work = [&](size_t job) {
    // The file this job holds until its result is written.
    size_t holding = files.size();
    try {
      ConversionJob state;
      SourceFactory factory(shared.backends, &prompts);
      JobProgress jobProgress(progress, job);
      PassContext pass{shared.settings, shared.row, state, shared.backends, factory, jobProgress};
      RunEnvironment jobEnv{pass, prompts, list, env.documentsFolder, result};
      for (size_t i = next++; i < files.size() && !jobProgress.IsCancelled(); i = next++) {
        holding = i;
        FileItem& file = *files[i];
        state.position = static_cast<int>(i) + 1;
        state.failureDetail.clear();
        const auto started = std::chrono::steady_clock::now();
        FileOutcome outcome;
        if (LacksSoundFont(file, shared.backends)) {
          outcome = Refused(kSoundFontMissingStatus);
        } else {
          list.EnsureVisible(i);
          list.SetVolumeCell(i, "");
          progress.Started(job, i, FileNamePart(file.path));
          outcome = RunStep(step, i, file, jobEnv);
        }
        EndedFile ended{
            i, std::move(outcome), state,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count()};
        std::vector<EndedFile> ending;
        if (hold != nullptr)
          ending = hold->Settle(std::move(ended), jobEnv);
        else
          ending.push_back(std::move(ended));
        holding = files.size();
        const bool goOn = finish(ending, factory, jobProgress);
        progress.Finished(job);
        if (!goOn) break;
      }
    } catch (...) {
      // Only the run's own bookkeeping gets here (memory running out between
      // files): this job ends, and a file it held fails instead of passing
      // for one the run never reached.
      std::lock_guard lock(resultMutex);
      if (holding < files.size()) {
        FileResult& failed = result.files[holding];
        failed.state = FileResult::State::Failed;
        failed.failure = FileResult::Failure::Conversion;
        failed.outputPath.clear();
        failed.gain.reset();
        files[holding]->outputPath.clear();
        ++result.failures;
        try {
          failed.reason = ExceptionReason(std::current_exception());
        } catch (...) {
          failed.reason.clear();
        }
      }
    }
  };

  const size_t count = std::clamp<size_t>(static_cast<size_t>(std::max(jobs, 1)), 1,
                                          std::max<size_t>(files.size(), 1));
  std::vector<std::thread> threads;
  for (size_t job = 1; job < count; ++job) {
    // A thread that cannot start (no memory for its stack, a process limit)
    // leaves the run to the threads that did; the calling thread is one.
    try {
      threads.emplace_back(work, job);
    } catch (const std::exception&) {
      break;
    }
  }
  work(0);
  for (std::thread& thread : threads) thread.join();
  if (hold != nullptr) {
    std::vector<EndedFile> held = hold->Drain();
    SourceFactory factory(shared.backends, &prompts);
    finish(held, factory, shared.progress);
  }
  // A cancel that landed while no file ran (before the first, between files)
  // ends the run as any other.
  if (progress.IsCancelled()) result.cancelled = true;
}

void ConvertEach(std::vector<FileItem*>& files, RunEnvironment& env, int jobs) {
  if (!CheckPrerequisites(files, env)) return;
  env.result.started = true;

  // Names first, in input order, so that they do not depend on timing.
  std::vector<std::optional<FileOutcome>> refused(files.size());
  OutputNamer namer(env.pass, env.documentsFolder);
  for (size_t i = 0; i < files.size(); ++i)
    if (!LacksSoundFont(*files[i], env.pass.backends))
      refused[i] = namer.Name(*files[i], env.result.files[i]);

  // Albums: one loudness gain for each, and their ReplayGain values once
  // every file of one is measured.
  const ConversionSettings& settings = env.pass.settings;
  std::optional<AlbumLevels> levels;
  if (settings.volumeType == VolumeMode::Loudness && settings.loudnessByAlbum != 0)
    levels.emplace(files);
  std::optional<AlbumTags> albums;
  if (WantsAlbumGain(env.pass)) albums.emplace(files);

  RunFiles(
      files, FormatDisplayName(env.pass.row), env, jobs,
      [&](size_t i, FileItem& file, RunEnvironment& job) {
        if (refused[i]) return *refused[i];
        if (levels) job.pass.job.runGain = levels->GainFor(i, job);
        if (!albums) return ConvertNamedFile(i, file, job);
        auto pending = std::make_unique<PendingOutput>(file.outputPath);
        FileOutcome outcome = ConvertIntoPending(i, file, *pending, job);
        if (IsWritten(outcome.state)) albums->Keep(i, std::move(pending));
        return outcome;
      },
      albums ? &*albums : nullptr);
  FindRevealPath(files, env);
}

}  // namespace quillo
