// FrameworkSink when the file cannot take the data, and output names that
// look like URLs.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/ffmpeg/FrameworkSink.h"
#include "tests/backends/ffmpeg/SinkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

// Lowers the file size limit, with the signal that would kill the process
// ignored, so that writes past it fail with EFBIG; restores both at the end.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) {
    rlimit limit = previous;
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
  }
  rlimit previous = [] {
    rlimit current{};
    getrlimit(RLIMIT_FSIZE, &current);
    return current;
  }();
  void (*previousHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
};

size_t OpenDescriptors() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

// Twenty seconds go past a 200 kB limit as 128 kbit/s MP3 and as 16-bit WAV;
// a full device refuses the first bytes. Whether Write or Close notices
// first, the sink must fail with the system's reason and close the file.
TEST(FrameworkSinkFailureTest, FailedWritesReportTheSystemsReason) {
  struct Case {
    const char* what;
    const char* container;
    int32_t codecId;
    int bitRate;
    bool fullDevice;
    const char* reason;
  };
  const Case cases[] = {
      {"MP3 past the size limit", "mp3", 0x15001, 128000, false, "File too large"},
      {"WAV past the size limit", "wav", 0x10000, 0, false, "File too large"},
      {"FLAC on a full device", "flac", 0x1500E, 0, true, "No space left on device"},
  };
  constexpr rlim_t kLimit = 200 * 1024;
  const std::vector<int16_t> input = Sine(44100, 2, 20 * 44100, 440, 0.5);
  for (const Case& c : cases) {
    if (c.fullDevice && !std::filesystem::exists("/dev/full")) continue;
    TempDir dir;
    const std::string path = c.fullDevice ? "/dev/full" : dir.File("out");
    const size_t descriptors = OpenDescriptors();
    auto sink = MakeFrameworkSink();
    Configure(*sink, {path, c.container, c.codecId, 44100, 2, c.bitRate});
    bool succeeded = false;
    {
      const FileSizeLimit limit(c.fullDevice ? RLIM_INFINITY : kLimit);
      if (sink->Open()) {
        const bool written = WriteAll(*sink, input, 2, 1152);
        EXPECT_FALSE(sink->Write(input.data(), input.data(), 1152)) << c.what;
        succeeded = sink->Close() && written;
      }
    }
    EXPECT_FALSE(succeeded) << c.what;
    EXPECT_NE(sink->ErrorText().find(c.reason), std::string::npos)
        << c.what << ": " << sink->ErrorText();
    EXPECT_EQ(OpenDescriptors(), descriptors) << c.what;
    if (!c.fullDevice) {
      EXPECT_LE(std::filesystem::file_size(path), kLimit) << c.what;
    }
  }
}

// FFmpeg reads "name:rest" as a URL of the protocol "name"; the sink takes
// every path as a file name, relative ones against the working folder.
TEST(FrameworkSinkFailureTest, OutputNamesThatLookLikeUrlsAreFiles) {
  TempDir dir;
  struct WorkingFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    ~WorkingFolder() { std::filesystem::current_path(previous); }
  } restore;
  std::filesystem::current_path(dir.path());
  std::filesystem::create_directory(dir.path() / "x:y");
  const std::vector<int16_t> input = Sine(8000, 1, 4000, 440, 0.5);
  for (const std::string& name : {std::string("01:30.wav"), std::string("concat:a.wav"),
                                  std::string("pipe:1"), dir.File("x:y/file:b.wav")}) {
    ASSERT_TRUE(EncodeWithSink({name, "wav", 0x10000, 8000, 1}, input)) << name;
    const std::filesystem::path written = std::filesystem::absolute(name);
    ASSERT_TRUE(std::filesystem::is_regular_file(written)) << name;
    EXPECT_EQ(DecodeWithFfmpeg("file:" + written.string()), input) << name;
  }
}

}  // namespace
}  // namespace quillo::test
