#include "engine/ParallelRun.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "engine/FileItemText.h"
#include "engine/SourceFactory.h"

namespace quillo {

namespace {

// The front end's progress display shared by the jobs: the overall bar counts
// the files done, the file caption names the files running and the file bar
// shows the least advanced of them. Every call is serialised.
class SharedProgress {
 public:
  SharedProgress(ConversionProgress& display, int files) : display_(display) {
    display_.SetOverallRange(files);
    display_.SetOverallText("Converting " + std::to_string(files) + " file(s)...");
  }

  void Started(size_t job, const std::string& name) {
    std::lock_guard lock(mutex_);
    running_[job] = {name, 0};
    Show();
  }
  // The job's file is done (or was never started: its name was refused).
  void Finished(size_t job) {
    std::lock_guard lock(mutex_);
    running_.erase(job);
    display_.StepOverall();
    Show();
  }
  void Bar(size_t job, int position) {
    std::lock_guard lock(mutex_);
    const auto found = running_.find(job);
    if (found == running_.end() || found->second.bar == position) return;
    found->second.bar = position;
    Show();
  }
  int BarWidth() const { return display_.FileBarWidth(); }
  void Pump() {
    std::lock_guard lock(mutex_);
    display_.Pump();
  }
  bool IsCancelled() const {
    std::lock_guard lock(mutex_);
    return display_.IsCancelled();
  }

 private:
  struct Running {
    std::string name;
    int bar = 0;
  };

  void Show() {
    std::string names;
    int least = running_.empty() ? 0 : display_.FileBarWidth();
    for (const auto& [job, file] : running_) {
      names += (names.empty() ? "" : ", ") + file.name;
      least = std::min(least, file.bar);
    }
    display_.SetFileText(running_.empty() ? std::string()
                                          : std::to_string(running_.size()) + " running: " + names);
    display_.SetFileBar(least);
  }

  ConversionProgress& display_;
  mutable std::mutex mutex_;
  std::map<size_t, Running> running_;
};

// One job's view of the shared display: the captions it would set are
// replaced by the shared ones.
class JobProgress final : public ConversionProgress {
 public:
  JobProgress(SharedProgress& shared, size_t job) : shared_(shared), job_(job) {}
  void SetOverallText(const std::string&) override {}
  void SetOverallRange(int) override {}
  void StepOverall() override {}
  void SetFileText(const std::string&) override {}
  int FileBarWidth() const override { return shared_.BarWidth(); }
  void SetFileBar(int position) override { shared_.Bar(job_, position); }
  void Pump() override { shared_.Pump(); }
  bool IsCancelled() const override { return shared_.IsCancelled(); }

 private:
  SharedProgress& shared_;
  size_t job_;
};

// The list and the questions, one call at a time.
class LockedList final : public RunListView {
 public:
  LockedList(RunListView& list, std::mutex& mutex) : list_(list), mutex_(mutex) {}
  void SetVolumeCell(size_t file, const std::string& text) override {
    std::lock_guard lock(mutex_);
    list_.SetVolumeCell(file, text);
  }
  void SetOutputCell(size_t file, const std::string& text) override {
    std::lock_guard lock(mutex_);
    list_.SetOutputCell(file, text);
  }
  void EnsureVisible(size_t file) override {
    std::lock_guard lock(mutex_);
    list_.EnsureVisible(file);
  }
  void WidenOutputColumn(int pixels) override {
    std::lock_guard lock(mutex_);
    list_.WidenOutputColumn(pixels);
  }

 private:
  RunListView& list_;
  std::mutex& mutex_;
};

class LockedPrompts final : public UserPrompts {
 public:
  explicit LockedPrompts(UserPrompts& prompts) : prompts_(prompts) {}
  void Inform(const std::string& text) override {
    std::lock_guard lock(mutex_);
    prompts_.Inform(text);
  }
  void Warn(const std::string& text) override {
    std::lock_guard lock(mutex_);
    prompts_.Warn(text);
  }
  bool AskYesNo(const std::string& text) override {
    std::lock_guard lock(mutex_);
    return prompts_.AskYesNo(text);
  }
  std::optional<std::string> AskOutputFile(const std::string& suggested) override {
    std::lock_guard lock(mutex_);
    return prompts_.AskOutputFile(suggested);
  }
  void OpenLocation(const std::string& location) override {
    std::lock_guard lock(mutex_);
    prompts_.OpenLocation(location);
  }

 private:
  UserPrompts& prompts_;
  std::mutex mutex_;
};

// Windows Media support loads on first need; several jobs may need it at once.
class LockedRuntime final : public WindowsMediaRuntime {
 public:
  explicit LockedRuntime(WindowsMediaRuntime& runtime) : runtime_(runtime) {}
  bool IsLoaded() const override {
    std::lock_guard lock(mutex_);
    return runtime_.IsLoaded();
  }
  bool Load() override {
    std::lock_guard lock(mutex_);
    return runtime_.IsLoaded() || runtime_.Load();
  }

 private:
  WindowsMediaRuntime& runtime_;
  mutable std::mutex mutex_;
};

}  // namespace

void ConvertEachAtOnce(std::vector<FileItem*>& files, RunEnvironment& env, int jobs) {
  if (!CheckPrerequisites(files, env)) return;
  RunResult& result = env.result;
  result.started = true;
  const PassContext& shared = env.pass;

  // Names first, in input order, so that they do not depend on timing.
  std::vector<std::optional<FileOutcome>> refused(files.size());
  OutputNamer namer(shared, env.documentsFolder);
  for (size_t i = 0; i < files.size(); ++i) {
    if (LacksSoundFont(*files[i], shared.backends))
      refused[i] = FileOutcome{FileResult::State::Failed, kSoundFontMissingStatus};
    else
      refused[i] = namer.Name(*files[i], result.files[i]);
  }

  BackendTable backends = shared.backends;
  std::optional<LockedRuntime> runtime;
  if (backends.windowsMedia != nullptr)
    backends.windowsMedia = &runtime.emplace(*backends.windowsMedia);
  SharedProgress progress(shared.progress, static_cast<int>(files.size()));
  std::mutex resultMutex;
  LockedList list(env.list, resultMutex);
  LockedPrompts prompts(env.prompts);
  std::atomic<size_t> next{0};
  bool widened = false;

  const auto work = [&](size_t job) {
    ConversionJob state;
    SourceFactory factory(backends, &prompts);
    JobProgress jobProgress(progress, job);
    PassContext pass{shared.settings, shared.row, state, backends, factory, jobProgress};
    RunEnvironment jobEnv{pass, prompts, list, env.documentsFolder, result};
    for (size_t i = next++; i < files.size() && !jobProgress.IsCancelled(); i = next++) {
      FileItem& file = *files[i];
      state.position = static_cast<int>(i) + 1;
      state.failureDetail.clear();
      FileOutcome outcome;
      if (refused[i]) {
        outcome = *refused[i];
      } else {
        progress.Started(job, FileNameCell(file.path));
        outcome = ConvertNamedFile(i, file, jobEnv);
      }
      {
        std::lock_guard lock(resultMutex);
        // FinishFile shows the cells itself: the list is already locked here.
        RunEnvironment finishing{pass, prompts, env.list, env.documentsFolder, result};
        FinishFile(i, file, outcome, finishing, widened);
      }
      progress.Finished(job);
    }
  };

  std::vector<std::thread> threads;
  const size_t count = std::min<size_t>(static_cast<size_t>(std::max(jobs, 1)), files.size());
  for (size_t job = 1; job < count; ++job) threads.emplace_back(work, job);
  work(0);
  for (std::thread& thread : threads) thread.join();
  FindRevealPath(files, env);
}

}  // namespace quillo
