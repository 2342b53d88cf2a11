// Every output row converts a WAV with automatic parameters into a file
// FFmpeg reads back at the right length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

TEST(FormatRowsCli, EveryRowConvertsAWavWithAutomaticParameters) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  const std::string source = dir.File("tone.wav");
  test::MakeAudio(source, "sine=frequency=440:sample_rate=44100:duration=1", "-ac 2");
  const std::vector<OutputFormat> rows = BuildCatalog();
  ASSERT_EQ(rows.size(), 30u);
  for (const OutputFormat& row : rows) {
    const std::string id = std::to_string(row.formatId);
    SCOPED_TRACE(id + FormatListText(row));
    const std::string folder = dir.File(id);
    std::vector<std::string> args = {"-f", id, "-d", folder};
    if (HasOwnCodecSettings(row)) args.push_back("--auto");
    args.push_back(source);
    const test::CliRun run = test::RunCli("convert", args, config);
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string output = folder + "/tone." + std::string(row.extension);
    const std::string probe = test::ProbeWithFfprobe(output);
    const int rate = std::stoi(test::FfprobeField(probe, "sample_rate"));
    const int channels = std::stoi(test::FfprobeField(probe, "channels"));
    const double seconds =
        static_cast<double>(test::DecodeWithFfmpeg(output).size()) / channels / rate;
    EXPECT_NEAR(seconds, 1.0, 0.1);
  }
}

}  // namespace
}  // namespace quillo
