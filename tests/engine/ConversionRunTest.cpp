#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <tuple>

#include "catalog/Catalog.h"
#include "engine/Conversion.h"
#include "engine/ConversionRun.h"
#include "engine/RunLoop.h"
#include "tests/engine/FakeMedia.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

class Cells final : public RunListView {
 public:
  void SetVolumeCell(size_t file, const std::string& text) override { volume[file] = text; }
  void SetOutputCell(size_t file, const std::string& text) override {
    output[file] = text;
    history[file].push_back(text);
  }
  void EnsureVisible(size_t) override {}
  void WidenOutputColumn(int pixels) override { widened.push_back(pixels); }
  void FileEnded(size_t file, const FileResult& result) override {
    ended.push_back({file, result.state});
  }
  std::map<size_t, std::string> volume, output;
  std::vector<std::pair<size_t, FileResult::State>> ended;
  std::map<size_t, std::vector<std::string>> history;
  std::vector<int> widened;
};

// A run's surroundings made of fakes: `count` files converted to WAV.
struct FakeRun {
  explicit FakeRun(size_t count) : items(count) {
    for (FileItem& item : items) files.push_back(&item);
    result.files.resize(count);
  }
  auto Parts() { return std::tie(cells, result, files); }

  ConversionSettings settings{"/tmp"};
  const BackendTable backends = test::FakeTable(
      [](SourceBackend) { return std::make_unique<test::RampSource>(8000, 1, 8000, 509); });
  ConversionJob job;
  SourceFactory factory{backends, nullptr};
  test::ScriptedProgress progress;
  PassContext pass{settings, *FindFormat(settings.formats, format_id::kWav), job, backends, factory,
                   progress};
  Cells cells;
  test::ScriptedPrompts answers;
  RunResult result;
  std::vector<FileItem> items;
  std::vector<FileItem*> files;
  RunEnvironment env{pass, answers, cells, "", result};
};

class NoSoundFont final : public SoundFontService {
 public:
  bool IsLoaded() const override { return false; }
  bool Load() override { return false; }
  std::string ProgramFolder() const override { return "/opt/quillo/"; }
};

// Writes one byte per frame, so that a file with frames is not empty. It can
// run out of room after `writesBeforeFull` writes, or fail to close.
class ByteSink final : public MediaSink {
 public:
  ByteSink(int writesBeforeFull = -1, bool closes = true)
      : writesLeft_(writesBeforeFull), closes_(closes) {}
  void SetPath(const std::string& path) override { path_ = path; }
  bool Open() override {
    test::WriteFile(path_, {});
    return true;
  }
  bool Write(const int16_t*, const int16_t*, int frames) override {
    if (writesLeft_ == 0) return false;
    if (writesLeft_ > 0) --writesLeft_;
    bytes_ += static_cast<size_t>(frames);
    test::WriteFile(path_, std::vector<uint8_t>(bytes_, 0));
    return true;
  }
  bool Close() override { return closes_; }
  std::string ErrorText() const override { return "No space left on device"; }

 private:
  std::string path_;
  size_t bytes_ = 0;
  int writesLeft_;
  bool closes_;
};

// A source per path: "silent" files have no audio, "broken" files open in no
// back-end, every other file is a one-second ramp.
class SilentSource final : public MediaSource {
 public:
  void Close() override {}
  bool Open(const std::string&, int) override { return false; }
  int Read(int16_t*, int16_t*) override { return 0; }
  int HasAudioStream() override { return 0; }
};

// Settings that convert to WAV in the folder "out" of `dir`.
ConversionSettings WavIntoOut(const test::TempDir& dir) {
  ConversionSettings settings(dir.path().string());
  settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  settings.destSpecifiedFolder = dir.File("out");
  settings.outputFormat = format_id::kWav;
  return settings;
}

// "a.flac" in `dir` as listed, probed as 8000 Hz mono (a join keeps that
// rate); its one byte is never read by the fake back-ends.
FileItem ListedFlac(const test::TempDir& dir) {
  FileItem item;
  item.path = dir.File("a.flac");
  item.sourceKind = SourceKind::Flac;
  item.sampleRate = 8000;
  item.channels = 1;
  test::WriteFile(item.path, {1});
  return item;
}

// Files in, per-file results out, through the entry a front end drives.
TEST(Conversion, EachFileGetsItsResultAndMidiWithoutASoundFontFails) {
  test::TempDir dir;
  ConversionSettings settings(dir.path().string());
  settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  settings.destSpecifiedFolder = dir.File("out");
  settings.enableSkipLength = 1;
  settings.skipLength = 500;
  settings.outputFormat = format_id::kWav;
  std::vector<std::string> opened;  // the files announced so far

  std::vector<FileItem> items(4);
  const char* names[] = {"one.flac", "song.mid", "silent.bin", "short.flac"};
  for (size_t i = 0; i < items.size(); ++i) {
    items[i].path = dir.File(names[i]);
    items[i].sourceKind = SourceKindFromPath(items[i].path);
    test::WriteFile(items[i].path, {1});
  }
  std::vector<FileItem*> files;
  for (FileItem& item : items) files.push_back(&item);

  // Per-path sources: the silent file has no audio stream; the short file
  // lasts less than the skip.
  NoSoundFont noFont;
  BackendTable backends = test::FakeTable(
      [&](SourceBackend) -> std::unique_ptr<MediaSource> {
        const std::string& path = opened.back();
        if (path.find("silent") != std::string::npos) return std::make_unique<SilentSource>();
        if (path.find("short") != std::string::npos)
          return std::make_unique<test::RampSource>(8000, 1, 2000, 509, 0);
        return std::make_unique<test::RampSource>(8000, 1, 8000, 509);
      },
      [] { return std::make_unique<ByteSink>(); });
  backends.soundFont = &noFont;
  // Remember which file is being opened before the factory creates its source.
  class Tracking final : public ConversionProgress {
   public:
    explicit Tracking(std::vector<std::string>& opened, const std::vector<FileItem*>& files)
        : opened_(opened), files_(files) {}
    // "Converting N of 4 file(s)...": file N starts.
    void SetOverallText(const std::string&) override {
      opened_.push_back(files_[opened_.size()]->path);
    }
    void SetOverallRange(int) override {}
    void StepOverall() override { ++steps_; }
    void SetFileText(const std::string&) override {}
    int FileBarWidth() const override { return 10; }
    void SetFileBar(int) override {}
    void Pump() override {}
    bool IsCancelled() const override { return false; }
    int steps() const { return steps_; }

   private:
    std::vector<std::string>& opened_;
    const std::vector<FileItem*>& files_;
    int steps_ = 0;
  };
  // The MIDI file never reaches the overall bar, so track the others only.
  std::vector<FileItem*> announced = {files[0], files[2], files[3]};
  Tracking progress(opened, announced);
  Cells cells;
  test::ScriptedPrompts answers;
  Conversion conversion(backends, settings, progress, answers, &cells);
  const RunResult result = conversion.ConvertEach(files);

  ASSERT_TRUE(result.started);
  ASSERT_EQ(answers.questions.size(), 1u);  // the sound-font offer, answered No
  EXPECT_NE(answers.questions[0].find("\"/opt/quillo/\""), std::string::npos);
  using State = FileResult::State;
  const struct {
    State state;
    std::string status;
    std::string volume;
  } expected[] = {
      {State::Converted, "one.wav", "100.00%"},
      {State::Failed, "Failure. Requires file \"ct4mgm.sf2\".", ""},
      {State::Failed, "No audio in the file", ""},
      {State::Failed,
       "Conversion Failure (Length of the file is shorter than skipping length set at Options -> "
       "General)",
       ""},
  };
  ASSERT_EQ(result.files.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(result.files[i].state, expected[i].state);
    EXPECT_EQ(OutputCellText(result.files[i]), expected[i].status);
    EXPECT_EQ(VolumeCellText(result.files[i]), expected[i].volume);
    EXPECT_EQ(cells.output[i], expected[i].status);  // the list shows what the result says
    EXPECT_EQ(cells.volume[i], expected[i].volume);
  }
  EXPECT_EQ(result.files[0].outputPath, dir.File("out/one.wav"));
  EXPECT_EQ(cells.widened, (std::vector<int>{500}));
  EXPECT_EQ(progress.steps(), 3);
  EXPECT_EQ(result.failures, 3);
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.revealPath, dir.File("out/one.wav"));
  EXPECT_EQ(items[0].outputPath, dir.File("out/one.wav"));
  EXPECT_TRUE(items[3].outputPath.empty());
  // The converted file is the ramp after the half-second skip: 4000 frames.
  EXPECT_EQ(fs::file_size(dir.File("out/one.wav")), 4000u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("out")), fs::directory_iterator()), 1);
}

// Opens but delivers nothing, like a dedicated decoder that chokes on a file.
class ChokingSource final : public MediaSource {
 public:
  void Close() override {}
  bool Open(const std::string&, int) override {
    sampleRate_ = 8000;
    channels_ = 1;
    return true;
  }
  int Read(int16_t*, int16_t*) override { return 0; }
};

TEST(ConversionRun, AFileTheDedicatedBackEndCannotDecodeConvertsOnTheRetry) {
  test::TempDir dir;
  ConversionSettings settings(dir.path().string());
  ConversionJob job;
  std::vector<SourceBackend> created;
  bool choke = false;  // every back-end chokes, not only the dedicated one
  const BackendTable backends = test::FakeTable(
      [&](SourceBackend backend) -> std::unique_ptr<MediaSource> {
        created.push_back(backend);
        if (choke || backend == SourceBackend::AudioLibrary)
          return std::make_unique<ChokingSource>();
        return std::make_unique<test::RampSource>(8000, 1, 8000, 509);
      },
      [] { return std::make_unique<ByteSink>(); });
  SourceFactory factory(backends, nullptr);
  test::ScriptedProgress progress;
  const OutputFormat& row = *FindFormat(settings.formats, format_id::kWav);
  PassContext pass{settings, row, job, backends, factory, progress};
  Cells cells;
  test::ScriptedPrompts answers;
  RunResult result;
  result.files.resize(1);
  RunEnvironment env{pass, answers, cells, "", result};
  const auto convert = [&](const PassItem& item) { return ConvertFile(item, pass); };
  FileItem mp3;
  mp3.path = dir.File("a.mp3");
  test::WriteFile(mp3.path, {});
  mp3.sourceKind = SourceKind::Mp3;
  const FileOutcome outcome = RunFilePasses(0, mp3, dir.File("a.wav"), env, convert);
  EXPECT_EQ(outcome.state, FileResult::State::Converted);
  EXPECT_EQ(created, (std::vector{SourceBackend::AudioLibrary, SourceBackend::Framework}));
  EXPECT_EQ(fs::file_size(dir.File("a.wav")), 8000u);

  // A file only the framework reads is tried once.
  created.clear();
  FileItem mkv;
  mkv.path = dir.File("b.mkv");
  test::WriteFile(mkv.path, {});
  mkv.sourceKind = SourceKind::Other;
  choke = true;
  const FileOutcome failed = RunFilePasses(0, mkv, dir.File("b.wav"), env, convert);
  EXPECT_EQ(failed.failure, FileResult::Failure::Conversion);
  EXPECT_EQ(failed.reason, kNoSamplesDetail);
  EXPECT_EQ(created, (std::vector{SourceBackend::Framework}));
  EXPECT_FALSE(fs::exists(dir.File("b.wav")));
}

TEST(ConversionRun, ASinkThatCannotWriteFailsTheFileAndLeavesNothing) {
  struct Case {
    int writesBeforeFull;
    bool closes;
  };
  for (const Case c : {Case{2, true}, Case{-1, false}}) {
    SCOPED_TRACE(c.writesBeforeFull);
    test::TempDir dir;
    ConversionSettings settings = WavIntoOut(dir);
    settings.volumeType = VolumeMode::Normalize;
    const BackendTable backends = test::FakeTable(
        [](SourceBackend) { return std::make_unique<test::RampSource>(8000, 1, 8000, 509); },
        [&] { return std::make_unique<ByteSink>(c.writesBeforeFull, c.closes); });
    test::ScriptedProgress progress;
    Cells cells;
    test::ScriptedPrompts answers;
    FileItem item = ListedFlac(dir);
    std::vector<FileItem*> files = {&item};
    const RunResult result =
        Conversion(backends, settings, progress, answers, &cells).ConvertEach(files);

    EXPECT_EQ(result.failures, 1);
    EXPECT_EQ(cells.history[0], (std::vector<std::string>{"Normalizing...", "Converting...",
                                                          "Conversion Failure (No space left on "
                                                          "device)"}));
    EXPECT_TRUE(fs::is_empty(dir.File("out"))) << "no output and no temporary file";
    EXPECT_TRUE(item.outputPath.empty());
  }
}

// A source that stops on damage keeps its output, converted or joined, but
// the file fails: its cell says how much of it was converted.
TEST(ConversionRun, ASourceEndingOnDamageKeepsItsOutputAndFails) {
  for (const bool join : {false, true}) {
    SCOPED_TRACE(join);
    test::TempDir dir;
    const ConversionSettings settings = WavIntoOut(dir);
    const BackendTable backends = test::FakeTable(
        [](SourceBackend) {
          auto source = std::make_unique<test::RampSource>(8000, 1, 8000, 509);
          source->EndOnDamage();
          return source;
        },
        [] { return std::make_unique<ByteSink>(); });
    test::ScriptedProgress progress;
    Cells cells;
    test::ScriptedPrompts answers;
    FileItem item = ListedFlac(dir);
    std::vector<FileItem*> files = {&item};
    Conversion conversion(backends, settings, progress, answers, &cells);
    fs::create_directories(dir.File("out"));
    const RunResult result =
        join ? conversion.JoinAll(files, dir.File("out/all.wav")) : conversion.ConvertEach(files);

    EXPECT_EQ(result.failures, 1);
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files[0].state, FileResult::State::Partial);
    EXPECT_EQ(cells.output[0],
              "Conversion Failure (1.0 of 2.0 s converted: the rest of the source is damaged)");
    EXPECT_EQ(result.files[0].outputPath, dir.File(join ? "out/all.wav" : "out/a.wav"));
    EXPECT_EQ(test::ReadFile(result.files[0].outputPath).size(), 8000u);
  }
}

// A cancel that lands while no file runs (here: before the first starts)
// ends the run cancelled with any number of jobs, so that a script never
// takes an unconverted run for success.
TEST(ConversionRun, ACancelWithNoFileRunningEndsTheRunCancelled) {
  for (int jobs : {1, 2, 3}) {
    SCOPED_TRACE(jobs);
    test::TempDir dir;
    const ConversionSettings settings = WavIntoOut(dir);
    const BackendTable backends = test::FakeTable(
        [](SourceBackend) { return std::make_unique<test::RampSource>(8000, 1, 8000, 509); },
        [] { return std::make_unique<ByteSink>(); });
    std::vector<FileItem> items(3);
    std::vector<FileItem*> files;
    for (size_t i = 0; i < items.size(); ++i) {
      items[i].path = dir.File(std::to_string(i) + ".flac");
      items[i].sourceKind = SourceKind::Flac;
      test::WriteFile(items[i].path, {1});
      files.push_back(&items[i]);
    }
    NullProgress progress(/*cancelled=*/true);
    Cells cells;
    test::ScriptedPrompts answers;
    Conversion conversion(backends, settings, progress, answers, &cells);
    conversion.SetJobs(jobs);
    const RunResult result = conversion.ConvertEach(files);
    EXPECT_TRUE(result.cancelled);
    for (const FileResult& file : result.files) EXPECT_NE(file.state, FileResult::State::Converted);
    EXPECT_TRUE(!fs::exists(dir.File("out")) || fs::is_empty(dir.File("out")));
    EXPECT_TRUE(result.revealPath.empty());
  }
}

// An exception that escapes a file's step fails that file with its text, on
// the calling thread and on the workers alike, instead of ending the process;
// the other files convert, and the list hears of each file's end once.
TEST(ConversionRun, AnExceptionFailsItsFileAndTheRunGoesOn) {
  for (int jobs : {1, 3}) {
    SCOPED_TRACE(jobs);
    FakeRun run(4);
    auto [cells, result, files] = run.Parts();  // references into the run
    RunFiles(files, "out", run.env, jobs, [](size_t i, FileItem&, RunEnvironment&) -> FileOutcome {
      if (i == 1) throw std::runtime_error("decoder state lost");
      if (i == 2) throw 42;
      return {FileResult::State::Converted, {}, {}};
    });

    using State = FileResult::State;
    const std::pair<State, std::string> expected[] = {
        {State::Converted, ""},
        {State::Failed, "Conversion Failure (decoder state lost)"},
        {State::Failed, "Conversion Failure (unknown error)"},
        {State::Converted, ""},
    };
    std::sort(cells.ended.begin(), cells.ended.end());
    ASSERT_EQ(cells.ended.size(), files.size()) << "each file's end is heard once";
    for (size_t i = 0; i < files.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(result.files[i].state, expected[i].first);
      EXPECT_EQ(cells.output[i], expected[i].second);
      EXPECT_EQ(cells.ended[i], std::make_pair(i, expected[i].first));
    }
    EXPECT_EQ(result.failures, 2);
    EXPECT_FALSE(result.cancelled);
  }
}

// With two files converting at once, the upper bar stays on the file it
// shows until that file ends: a second file starting behind it does not
// take the bar over.
TEST(ConversionRun, TheFileBarFollowsOneFileUntilItEnds) {
  FakeRun run(2);
  test::ScriptedProgress& progress = run.progress;

  std::mutex mutex;
  std::condition_variable changed;
  int stage = 0;  // 1: the first file is under way, 2: the second one too, 3: seen
  int barWhileBothRan = -1;
  const auto advance = [&](int to) {
    std::lock_guard lock(mutex);
    stage = to;
    changed.notify_all();
  };
  const auto await = [&](int at) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return stage >= at; });
  };
  RunFiles(run.files, "out", run.env, 2,
           [&](size_t i, FileItem&, RunEnvironment& fileEnv) -> FileOutcome {
             if (i == 0) {
               fileEnv.pass.progress.SetFileBar(30);
               advance(1);
               await(2);
               barWhileBothRan = progress.bar;
               advance(3);
             } else {
               await(1);
               fileEnv.pass.progress.SetFileBar(5);
               advance(2);
               await(3);  // still running while the first file looks
             }
             return {FileResult::State::Converted, {}, {}};
           });
  EXPECT_EQ(barWhileBothRan, 30);
  EXPECT_EQ(progress.steps, 2);
}

}  // namespace
}  // namespace quillo
