// FrameworkSink when the file cannot take the data, and output names that
// look like URLs.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "backends/ffmpeg/FrameworkSink.h"
#include "tests/backends/ffmpeg/SinkTestSupport.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {
namespace {

size_t OpenDescriptors() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

// A full device refuses the first bytes. Whether Write or Close notices
// first, the sink must fail with the system's reason and close the file.
// (Writes past a size limit are checked end to end through the command line.)
TEST(FrameworkSinkFailureTest, AFullDeviceFailsWithTheSystemsReason) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::vector<int16_t> input = Sine(44100, 2, 5 * 44100, 440, 0.5);
  const size_t descriptors = OpenDescriptors();
  auto sink = MakeFrameworkSink();
  Configure(*sink, {"/dev/full", "flac", 0x1500E, 44100, 2});
  const bool succeeded = sink->Open() && WriteAll(*sink, input, 2, 1152) && sink->Close();
  EXPECT_FALSE(succeeded);
  EXPECT_FALSE(sink->Write(input.data(), input.data(), 1152)) << "a failed sink takes no more";
  sink->Close();
  EXPECT_NE(sink->ErrorText().find("No space left on device"), std::string::npos)
      << sink->ErrorText();
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "a failed Open removes only its own file";
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
