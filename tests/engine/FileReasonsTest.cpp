// Files that fail for reasons of the machine (no temporary folder, no memory)
// or of their own (no samples) fail alone, each with its reason, and the run
// goes on with the next file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>

#include "catalog/Catalog.h"
#include "engine/Conversion.h"
#include "engine/ResultText.h"
#include "tests/engine/FakeMedia.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;

// Behaves by the name it is opened with: "greedy" files run out of memory
// reading their tags, "choke" files open and deliver nothing, others are a
// one-second ramp.
class NamedSource final : public MediaSource {
 public:
  void Close() override {}
  bool Open(const std::string& path, int) override {
    name_ = fs::path(path).filename().string();
    sampleRate_ = 8000;
    channels_ = sourceChannels_ = 1;
    duration_ = 1;
    progressTotal_ = 8000;
    return true;
  }
  int Read(int16_t* left, int16_t*) override {
    if (name_.rfind("choke", 0) == 0 || next_ >= 8000) return 0;
    const int n = 500;
    for (int i = 0; i < n; ++i) left[i] = test::RampSource::Value(next_ + i);
    next_ += n;
    return n;
  }
  bool ReadTags(TagInfo& tags) override {
    if (name_.rfind("greedy", 0) == 0) throw std::bad_alloc();
    tags.title = "t";
    return true;
  }

 private:
  std::string name_;
  int64_t next_ = 0;
};

// Writes one byte per frame.
class ByteSink final : public MediaSink {
 public:
  void SetPath(const std::string& path) override { path_ = path; }
  bool Open() override {
    test::WriteFile(path_, {});
    return true;
  }
  bool Write(const int16_t*, const int16_t*, int frames) override {
    bytes_ += static_cast<size_t>(frames);
    test::WriteFile(path_, std::vector<uint8_t>(bytes_, 0));
    return true;
  }
  bool Close() override { return true; }

 private:
  std::string path_;
  size_t bytes_ = 0;
};

TEST(FileReasons, EachFailingFileNamesItsReasonAndTheRunGoesOn) {
  test::TempDir dir;
  ConversionSettings settings(dir.path().string());
  settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  settings.destSpecifiedFolder = dir.File("out");
  settings.outputFormat = format_id::kMp3;
  BackendTable backends =
      test::FakeTable([](SourceBackend) { return std::make_unique<NamedSource>(); },
                      [] { return std::make_unique<ByteSink>(); });
  backends.wrapsDtsAsPcm = [](const std::string&) { return true; };
  backends.scratchWriter = [] { return std::make_unique<ByteSink>(); };

  const std::string missing = dir.File("no-such-folder");
  const struct {
    const char* name;
    std::string status;
  } cases[] = {
      {"greedy.flac", "Conversion Failure (Cannot allocate memory)"},
      {"choke.flac", "Conversion Failure (The file opens, but no audio could be decoded from it)"},
      {"movie.dts", "Conversion Failure (Failed to create a temporary file in \"" + missing +
                        "\" (No such file or directory))"},
      {"fine.flac", "fine.mp3"},
  };
  std::vector<FileItem> items;
  for (const auto& c : cases) {
    FileItem item;
    item.path = dir.File(c.name);
    item.sourceKind = SourceKindFromPath(item.path);
    test::WriteFile(item.path, {1});
    items.push_back(item);
  }
  // One at a time and several at once alike.
  for (int jobs : {1, 3}) {
    SCOPED_TRACE(jobs);
    fs::remove_all(dir.File("out"));
    std::vector<FileItem*> files;
    for (FileItem& item : items) files.push_back(&item);
    test::ScriptedProgress progress;
    test::ScriptedPrompts prompts;
    Conversion conversion(backends, settings, progress, prompts);
    conversion.SetJobs(jobs);
    RunResult result;
    {
      test::ScopedEnv tmpdir("TMPDIR", missing.c_str());
      result = conversion.ConvertEach(files);
    }
    ASSERT_EQ(result.files.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
      EXPECT_EQ(OutputCellText(result.files[i]), cases[i].status) << cases[i].name;
    EXPECT_EQ(result.failures, 3);
    // Only the converted file is there: no temporary file of a failed one.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.File("out")))
      names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"fine.mp3"});
    EXPECT_EQ(fs::file_size(dir.File("out/fine.mp3")), 8000u);
  }
}

}  // namespace
}  // namespace quillo
