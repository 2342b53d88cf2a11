#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "engine/ProbeFile.h"
#include "engine/SourceFactory.h"
#include "engine/UserPrompts.h"
#include "engine/WindowsMediaRuntime.h"
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
  std::set<SourceBackend> opening;
  std::map<SourceBackend, int> hasAudio;
  std::vector<SourceBackend> created;
  std::vector<bool> retryWhenCreated;
  ConversionJob* job = nullptr;

  SourceCreator Creator() {
    return [this](SourceBackend b, bool) {
      created.push_back(b);
      const auto it = hasAudio.find(b);
      return std::make_unique<FakeSource>(opening.count(b) != 0,
                                          it == hasAudio.end() ? 1 : it->second);
    };
  }
};

class ScriptedPrompts final : public UserPrompts {
 public:
  bool answer = false;
  std::vector<std::string> questions;
  std::vector<std::string> opened;
  void Inform(const std::string&) override {}
  void Warn(const std::string&) override {}
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  std::optional<std::string> AskOutputFile(const std::string&) override { return {}; }
  void OpenLocation(const std::string& location) override { opened.push_back(location); }
};

class FakeRuntime final : public WindowsMediaRuntime {
 public:
  explicit FakeRuntime(bool loads) : loads_(loads) {}
  bool IsLoaded() const override { return loaded_; }
  bool Load() override { return loaded_ = loads_; }
  bool loads_;
  bool loaded_ = false;
};

using B = SourceBackend;

TEST(SourceFactory, CandidateChainsByKind) {
  EXPECT_EQ(SourceCandidates(SourceKind::Mp3), (std::vector{B::AudioLibrary, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Mpeg4), (std::vector{B::AudioLibrary, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Ogg),
            (std::vector{B::OggVorbis, B::AudioLibrary, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Au), (std::vector{B::Au, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Aiff),
            (std::vector{B::Aiff, B::AudioLibrary, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Amr), (std::vector{B::Amr, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::WindowsMedia),
            (std::vector{B::WindowsMedia, B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Dts), (std::vector{B::Framework}));
  EXPECT_EQ(SourceCandidates(SourceKind::Other), (std::vector{B::Framework}));
  EXPECT_EQ(SourceCandidates(static_cast<SourceKind>(1234)), (std::vector{B::Framework}));
}

TEST(SourceFactory, FallsThroughToTheFrameworkInOneCall) {
  ConversionJob job;
  FakeBackends fakes;
  fakes.opening = {B::Framework};
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  int hasAudio = 7;
  auto source = factory.Open("x.mp3", SourceKind::Mp3, 0, true, &hasAudio);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::AudioLibrary, B::Framework}));
  EXPECT_FALSE(job.retryWithFramework);  // a later failure of this pass is not retried
  EXPECT_EQ(hasAudio, 1);                // from the audio library, the first candidate
}

TEST(SourceFactory, DedicatedBackendSetsTheRetryFlag) {
  ConversionJob job;
  FakeBackends fakes;
  fakes.opening = {B::Aiff};
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  ASSERT_NE(factory.Open("x.aiff", SourceKind::Aiff, 0, true, nullptr), nullptr);
  EXPECT_TRUE(job.retryWithFramework);
  // The second call with the flag still set goes straight to the framework.
  fakes.created.clear();
  fakes.opening = {B::Framework};
  ASSERT_NE(factory.Open("x.aiff", SourceKind::Aiff, 0, true, nullptr), nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::Framework}));
  EXPECT_FALSE(job.retryWithFramework);
}

TEST(SourceFactory, AiffRejectedByItsReaderOpensInTheAudioLibrary) {
  ConversionJob job;
  FakeBackends fakes;
  fakes.opening = {B::AudioLibrary};
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  ASSERT_NE(factory.Open("x.aif", SourceKind::Aiff, 0, true, nullptr), nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::Aiff, B::AudioLibrary}));
}

TEST(SourceFactory, HasAudioComesFromTheLastFailureButNotTheAudioLibraryFallback) {
  ConversionJob job;
  FakeBackends fakes;
  fakes.hasAudio = {{B::OggVorbis, 0}, {B::AudioLibrary, 5}, {B::Framework, 0}};
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  int hasAudio = 9;
  EXPECT_EQ(factory.Open("v.ogv", SourceKind::Ogg, 0, true, &hasAudio), nullptr);
  EXPECT_EQ(hasAudio, 0);
  EXPECT_EQ(job.failureDetail, kUnsupportedFileDetail);

  fakes.hasAudio = {{B::OggVorbis, 0}, {B::AudioLibrary, 5}, {B::Framework, 3}};
  EXPECT_EQ(factory.Open("v.ogv", SourceKind::Ogg, 0, true, &hasAudio), nullptr);
  EXPECT_EQ(hasAudio, 3);
}

TEST(SourceFactory, ProbingFailureLeavesTheDetailAlone) {
  ConversionJob job;
  FakeBackends fakes;
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  EXPECT_EQ(factory.Open("x.bin", SourceKind::Other, 0, false, nullptr), nullptr);
  EXPECT_TRUE(job.failureDetail.empty());
}

TEST(SourceFactory, WindowsMediaRuntimeMissingAsksAndUsesTheFramework) {
  ConversionJob job;
  FakeBackends fakes;
  fakes.opening = {B::Framework, B::WindowsMedia};
  ScriptedPrompts prompts;
  prompts.answer = true;
  FakeRuntime runtime(false);
  SourceFactory factory(job, &prompts, &runtime, fakes.Creator());
  ASSERT_NE(factory.Open("x.wma", SourceKind::WindowsMedia, 0, true, nullptr), nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::Framework}));
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0], kWindowsMediaQuestion);
  EXPECT_EQ(prompts.opened.size(), 1u);
}

TEST(SourceFactory, WindowsMediaRuntimeLoadsOnceAndIsTriedFirst) {
  ConversionJob job;
  FakeBackends fakes;
  fakes.opening = {B::WindowsMedia};
  ScriptedPrompts prompts;
  FakeRuntime runtime(true);
  SourceFactory factory(job, &prompts, &runtime, fakes.Creator());
  ASSERT_NE(factory.Open("x.wma", SourceKind::WindowsMedia, 0, true, nullptr), nullptr);
  job.retryWithFramework = false;  // as every new file starts
  ASSERT_NE(factory.Open("y.wma", SourceKind::WindowsMedia, 0, true, nullptr), nullptr);
  EXPECT_EQ(fakes.created, (std::vector{B::WindowsMedia, B::WindowsMedia}));
  EXPECT_TRUE(prompts.questions.empty());
}

TEST(ProbeFile, AppendsPropertiesAndRefusesDuplicates) {
  test::TempDir dir;
  const std::string a = dir.File("A.mp3");
  const std::string lower = dir.File("a.mp3");
  test::WriteFile(a, {1});
  test::WriteFile(lower, {1});
  std::filesystem::create_directory(dir.path() / "sub");
  std::filesystem::create_symlink(a, dir.path() / "link.mp3");

  ConversionJob job;
  FakeBackends fakes;
  fakes.opening = {B::AudioLibrary};
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  MemoryFileList list;
  job.retryWithFramework = true;  // cleared by the probe
  const ProbeResult first = ProbeFile(a, list, factory, job);
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
  EXPECT_EQ(ProbeFile(lower, list, factory, job).status, ProbeResult::Status::Added);
  EXPECT_EQ(ProbeFile((dir.path() / "sub" / ".." / "A.mp3").string(), list, factory, job).status,
            ProbeResult::Status::Duplicate);
  EXPECT_EQ(ProbeFile(dir.File("link.mp3"), list, factory, job).status,
            ProbeResult::Status::Duplicate);
  EXPECT_EQ(list.Items().size(), 2u);
}

TEST(ProbeFile, CdaFailureExplainsTheCdDrive) {
  ConversionJob job;
  FakeBackends fakes;
  SourceFactory factory(job, nullptr, nullptr, fakes.Creator());
  MemoryFileList list;
  EXPECT_EQ(ProbeFile("/tmp/Track01.cda", list, factory, job).status, ProbeResult::Status::Failed);
  EXPECT_EQ(job.failureDetail, kCdaOnHardDiskDetail);
  EXPECT_TRUE(list.Items().empty());
}

}  // namespace
}  // namespace quillo
