// Every output row converts three different sources with automatic
// parameters, one file at a time and two at once: each output decodes to
// the source's length and tone, and both runs give the same lines and the
// same outputs. Where a row promises more it is held to it: the lossless
// rows give back the samples of a mono or stereo source, and Opus decodes
// to exactly the source's length (its pre-skip and last granule cut the
// codec's delay and padding). The run with two at once checks each output
// by decoding it back (--verify), which must pass every row and change
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "catalog/Catalog.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

TEST(FormatRowsCli, EveryRowConvertsEachSourceAloneAndTwoAtOnce) {
  test::TempDir dir;
  const std::string config = dir.File("quillo.conf");
  std::vector<std::string> sources;
  std::vector<test::DecodedAudio> originals;
  for (const test::ToneSource& source : test::kToneSources) {
    sources.push_back(dir.File(std::string(source.name) + ".wav"));
    test::MakeAudio(sources.back(), source.lavfi);
    originals.push_back(test::DecodeAudio(sources.back()));
  }
  const std::vector<OutputFormat> rows = BuildCatalog();
  ASSERT_EQ(rows.size(), 32u);
  const int32_t lossless[] = {format_id::kFlac, format_id::kWavPack, format_id::kWav,
                              format_id::kAiff, format_id::kAu};
  for (const OutputFormat& row : rows) {
    const std::string id = std::to_string(row.formatId);
    SCOPED_TRACE(id + " " + FormatListText(row));
    std::vector<std::string> lines[2];
    for (int jobs : {1, 2}) {
      std::vector<std::string> args = {
          "-f", id, "-d", dir.File(id + "-" + std::to_string(jobs)), "-j", std::to_string(jobs)};
      if (HasOwnCodecSettings(row)) args.push_back("--auto");
      if (jobs == 2) args.push_back("--verify");
      args.insert(args.end(), sources.begin(), sources.end());
      const test::CliRun run = test::RunCli("convert", args, config);
      ASSERT_EQ(run.status, 0) << "-j " << jobs << "\n" << run.out << run.err;
      lines[jobs - 1] = test::Lines(run.out);
    }
    EXPECT_EQ(lines[0], lines[1]);
    for (size_t i = 0; i < sources.size(); ++i) {
      SCOPED_TRACE(test::kToneSources[i].name);
      const std::string name =
          std::string(test::kToneSources[i].name) + "." + std::string(row.extension);
      const std::string one = dir.File(id + "-1/" + name), two = dir.File(id + "-2/" + name);
      const test::DecodedAudio audio = test::DecodeAudio(one);
      ASSERT_GT(audio.rate, 0);
      EXPECT_TRUE(audio.rate >= 8000 && audio.rate <= 48000) << audio.rate;
      EXPECT_TRUE(audio.channels == 1 || audio.channels == 2) << audio.channels;
      EXPECT_NEAR(audio.Seconds(), 1.0, 0.25);
      if (row.formatId == format_id::kOpus) {
        EXPECT_EQ(audio.samples.size(), 48000u * audio.channels);
      }
      if (std::ranges::count(lossless, row.formatId) != 0 && originals[i].channels <= 2) {
        EXPECT_EQ(audio, originals[i]);
      }
      EXPECT_NEAR(test::ToneFrequency(audio), test::kToneSources[i].hz,
                  test::kToneSources[i].hz * 0.03);
      // Byte for byte where the encoder is reproducible; the same audio
      // where the container stamps a time.
      if (test::ReadFile(one) != test::ReadFile(two)) {
        EXPECT_EQ(test::DecodeAudio(two), audio);
      }
    }
  }
}

}  // namespace
}  // namespace quillo
