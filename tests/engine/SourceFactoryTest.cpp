#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "engine/Conversion.h"
#include "engine/ProbeLoop.h"
#include "engine/SourceFactory.h"
#include "engine/UserPrompts.h"
#include "engine/WindowsMediaSupport.h"
#include "engine/media/WindowsMediaRuntime.h"
#include "tests/engine/FakeMedia.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

// The factory opens only regular files: the names the tests use exist, empty,
// in a folder of their own that is the working folder while the tests run.
class NamedFiles final : public ::testing::Environment {
 public:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    for (const char* name : {"x.mp3", "x.aiff", "x.aif", "v.ogv", "x.bin", "x.wma", "y.wma"})
      test::WriteFile(name, {});
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

 private:
  test::TempDir dir_;
  std::filesystem::path previous_;
};
[[maybe_unused]] const auto* const kNamedFiles =
    ::testing::AddGlobalTestEnvironment(new NamedFiles);

// A source that opens or fails as the test says, and reports fixed properties.
class FakeSource final : public MediaSource {
 public:
  FakeSource(bool opens, int hasAudio) : opens_(opens), hasAudio_(hasAudio) {}
  void Close() override { ResetState(); }
  bool Open(const std::string&, int) override {
    if (!opens_) return false;
    duration_ = 61;
    sampleRate_ = 22050;
    bitRate_ = 96;
    sourceChannels_ = 6;
    channels_ = 2;
    return true;
  }
  int Read(int16_t*, int16_t*) override { return 0; }
  int HasAudioStream() override { return hasAudio_; }

 private:
  bool opens_;
  int hasAudio_;
};

// Records the candidates the factory creates; the back-ends in `opening` open.
struct FakeBackends {
  FakeBackends() {
    table = test::FakeTable([this](SourceBackend b) {
      created.push_back(b);
      const auto it = hasAudio.find(b);
      return std::make_unique<FakeSource>(opening.count(b) != 0,
                                          it == hasAudio.end() ? 1 : it->second);
    });
  }
  FakeBackends(const FakeBackends&) = delete;

  std::set<SourceBackend> opening;
  std::map<SourceBackend, int> hasAudio;
  std::vector<SourceBackend> created;
  BackendTable table;
};

class FakeRuntime final : public WindowsMediaRuntime {
 public:
  explicit FakeRuntime(bool loads) : loads_(loads) {}
  bool IsLoaded() const override { return loaded_; }
  bool Load() override { return loaded_ = loads_; }
  std::vector<WindowsMediaFormat> Formats() const override { return formats; }
  std::optional<WindowsMediaFormat> PickFormat(int, int, int) const override { return {}; }
  bool loads_;
  bool loaded_ = false;
  std::vector<WindowsMediaFormat> formats;
};

using B = SourceBackend;

TEST(SourceFactory, FallsThroughToTheFrameworkInOneCall) {
  FakeBackends fakes;
  fakes.opening = {B::Framework};
  SourceFactory factory(fakes.table, nullptr);
  OpenedSource opened = factory.Open("x.mp3", SourceKind::Mp3, 0, true);
  ASSERT_NE(opened.source, nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::AudioLibrary, B::Framework}));
  EXPECT_FALSE(opened.dedicated);  // a later failure of this pass is not retried
  EXPECT_FALSE(opened.noAudio);    // from the audio library, the first candidate
}

TEST(SourceFactory, DedicatedBackendAsksForTheRetryWhichGoesToTheFrameworkAlone) {
  FakeBackends fakes;
  fakes.opening = {B::Aiff};
  SourceFactory factory(fakes.table, nullptr);
  EXPECT_TRUE(factory.Open("x.aiff", SourceKind::Aiff, 0, true).dedicated);
  fakes.created.clear();
  fakes.opening = {B::Framework};
  const OpenedSource retry = factory.Open("x.aiff", SourceKind::Aiff, 0, true, true);
  ASSERT_NE(retry.source, nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::Framework}));
  EXPECT_FALSE(retry.dedicated);
}

TEST(SourceFactory, AiffRejectedByItsReaderOpensInTheAudioLibrary) {
  FakeBackends fakes;
  fakes.opening = {B::AudioLibrary};
  SourceFactory factory(fakes.table, nullptr);
  ASSERT_NE(factory.Open("x.aif", SourceKind::Aiff, 0, true).source, nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::Aiff, B::AudioLibrary}));
}

TEST(SourceFactory, NoAudioComesFromTheLastFailureButNotTheAudioLibraryFallback) {
  FakeBackends fakes;
  fakes.hasAudio = {{B::OggVorbis, 0}, {B::AudioLibrary, 5}, {B::Framework, 0}};
  SourceFactory factory(fakes.table, nullptr);
  OpenedSource opened = factory.Open("v.ogv", SourceKind::Ogg, 0, true);
  EXPECT_EQ(opened.source, nullptr);
  EXPECT_TRUE(opened.noAudio);
  EXPECT_EQ(opened.detail, kUnsupportedFileDetail);

  fakes.hasAudio = {{B::OggVorbis, 0}, {B::AudioLibrary, 5}, {B::Framework, 3}};
  EXPECT_FALSE(factory.Open("v.ogv", SourceKind::Ogg, 0, true).noAudio);
  // Probing has no words for a failure: the list names the file.
  EXPECT_TRUE(factory.Open("x.bin", SourceKind::Other, 0, false).detail.empty());
}

TEST(SourceFactory, WindowsMediaRuntimeMissingAsksAndUsesTheFramework) {
  FakeBackends fakes;
  fakes.opening = {B::Framework, B::WindowsMedia};
  test::ScriptedPrompts prompts;
  prompts.answer = true;
  FakeRuntime runtime(false);
  fakes.table.windowsMedia = &runtime;
  SourceFactory factory(fakes.table, &prompts);
  ASSERT_NE(factory.Open("x.wma", SourceKind::WindowsMedia, 0, true).source, nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::Framework}));
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0], kWindowsMediaQuestion);
  EXPECT_EQ(prompts.opened.size(), 1u);
}

TEST(SourceFactory, WindowsMediaRuntimeLoadsOnceAndIsTriedFirst) {
  FakeBackends fakes;
  fakes.opening = {B::WindowsMedia};
  test::ScriptedPrompts prompts;
  FakeRuntime runtime(true);
  fakes.table.windowsMedia = &runtime;
  SourceFactory factory(fakes.table, &prompts);
  ASSERT_NE(factory.Open("x.wma", SourceKind::WindowsMedia, 0, true).source, nullptr);
  ASSERT_NE(factory.Open("y.wma", SourceKind::WindowsMedia, 0, true).source, nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::WindowsMedia, B::WindowsMedia}));
  EXPECT_TRUE(prompts.questions.empty());
}

// A stored choice matches a listed format by rate, channels and whole kbit/s;
// formats under 1 kbit/s are not listed, so never match.
TEST(WindowsMediaSupport, StoredChoiceMatchesTheListedFormat) {
  FakeRuntime runtime(true);
  runtime.formats = {{8000, 1, 500},     {22050, 2, 32000},  {44100, 1, 64000},
                     {44100, 2, 128000}, {44100, 2, 128040}, {48000, 2, 192000}};
  const std::vector<WindowsMediaFormat> listed = ListedWindowsMediaFormats(runtime);
  ASSERT_EQ(listed.size(), 5u);
  EXPECT_EQ(listed.front(), (WindowsMediaFormat{22050, 2, 32000}));
  struct Case {
    int rate, bitRate, channels, index;
  };
  const Case cases[] = {{22050, 32000, 2, 0},   {44100, 64000, 1, 1},   {44100, 128000, 2, 2},
                        {44100, 128999, 2, 2},  {44100, 127999, 2, -1}, {44100, 64000, 2, -1},
                        {48000, 192000, 1, -1}, {8000, 500, 1, -1},     {8000, 0, 1, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(FindListedFormat(listed, c.rate, c.bitRate, c.channels), c.index)
        << c.rate << " " << c.bitRate << " " << c.channels;
}

TEST(ProbeFile, AppendsPropertiesAndRefusesDuplicates) {
  test::TempDir dir;
  const std::string a = dir.File("A.mp3");
  const std::string lower = dir.File("a.mp3");
  test::WriteFile(a, {1});
  test::WriteFile(lower, {1});
  std::filesystem::create_directory(dir.path() / "sub");
  std::filesystem::create_symlink(a, dir.path() / "link.mp3");

  FakeBackends fakes;
  fakes.opening = {B::AudioLibrary};
  MemoryFileList list;
  const ProbeResult first = ProbeFile(a, list, fakes.table, nullptr);
  ASSERT_EQ(first.status, ProbeResult::Status::Added);
  EXPECT_EQ(fakes.created.front(), B::AudioLibrary);
  const FileItem& item = list.Items()[static_cast<size_t>(first.row)];
  EXPECT_EQ(item.path, a);
  EXPECT_EQ(item.duration, 61u);
  EXPECT_EQ(item.sampleRate, 22050);
  EXPECT_EQ(item.bitRate, 96);
  EXPECT_EQ(item.channels, 6);  // the file's own channel count
  EXPECT_EQ(item.sourceKind, SourceKind::Mp3);

  // Letter case makes another file; another spelling or a link does not.
  EXPECT_EQ(ProbeFile(lower, list, fakes.table, nullptr).status, ProbeResult::Status::Added);
  EXPECT_EQ(
      ProbeFile((dir.path() / "sub" / ".." / "A.mp3").string(), list, fakes.table, nullptr).status,
      ProbeResult::Status::Duplicate);
  EXPECT_EQ(ProbeFile(dir.File("link.mp3"), list, fakes.table, nullptr).status,
            ProbeResult::Status::Duplicate);
  EXPECT_EQ(list.Items().size(), 2u);
}

TEST(ProbeFile, CdaFailureExplainsTheCdDrive) {
  FakeBackends fakes;
  MemoryFileList list;
  const ProbeResult result = ProbeFile("/tmp/Track01.cda", list, fakes.table, nullptr);
  EXPECT_EQ(result.status, ProbeResult::Status::Failed);
  EXPECT_EQ(result.detail, kCdaOnHardDiskDetail);
  EXPECT_TRUE(list.Items().empty());
}

// Cancel is asked before each file and once after the last; the failures
// are collected in order with the last failure's reason.
TEST(ProbeFiles, StopsWhenCancelledAndCollectsTheFailures) {
  class Listener final : public ProbeListener {
   public:
    explicit Listener(int answersBeforeCancel) : left_(answersBeforeCancel) {}
    void Probing(size_t index, size_t count, const std::string& path) override {
      EXPECT_EQ(count, 4u);
      EXPECT_EQ(index, probed.size());
      probed.push_back(path);
    }
    void Probed(const std::string& path, const ProbeResult&) override {
      EXPECT_EQ(path, probed.back());
    }
    bool IsCancelled() override { return left_-- <= 0; }
    std::vector<std::string> probed;

   private:
    int left_;
  };
  const std::vector<std::string> paths = {"x.mp3", "gone1.mp3", "x.mp3", "gone2.mp3"};
  struct Case {
    int answersBeforeCancel;
    size_t probed;
    bool cancelled;
    std::vector<std::string> failed;
  };
  const Case cases[] = {{0, 0, true, {}},
                        {2, 2, true, {"gone1.mp3"}},
                        {4, 4, true, {"gone1.mp3", "gone2.mp3"}},
                        {5, 4, false, {"gone1.mp3", "gone2.mp3"}}};
  for (const Case& c : cases) {
    FakeBackends fakes;
    fakes.opening = {B::AudioLibrary};
    MemoryFileList list;
    Listener listener(c.answersBeforeCancel);
    const ProbeSummary summary = ProbeFiles(paths, list, fakes.table, nullptr, listener);
    EXPECT_EQ(listener.probed, std::vector(paths.begin(), paths.begin() + c.probed));
    EXPECT_EQ(summary.cancelled, c.cancelled);
    EXPECT_EQ(summary.failed, c.failed);
    EXPECT_EQ(summary.detail, c.failed.empty() ? "" : "No such file or directory");
    EXPECT_EQ(list.Items().size(), c.probed == 0 ? 0u : 1u);  // the second x.mp3 is a duplicate
  }
}

TEST(ProbeFiles, FailureMessageListsThePathsAndTheReason) {
  struct Case {
    std::vector<std::string> failed;
    std::string detail;
    size_t listed;
    std::string message;
  };
  const std::string head = "Failed to load the following files.\n\n";
  const Case cases[] = {{{}, "why", 30, ""},
                        {{"a", "b"}, "", 30, head + "a\nb\n"},
                        {{"a", "b"}, "why", 2, head + "a\nb\n\nwhy"},
                        {{"a", "b", "c"}, "why", 2, head + "a\nb\n<more files>...\n\nwhy"}};
  for (const Case& c : cases)
    EXPECT_EQ(FailedFilesMessage(c.failed, c.detail, c.listed), c.message) << c.failed.size();
}

}  // namespace
}  // namespace quillo
