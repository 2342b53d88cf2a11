#include <gtest/gtest.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "backends/tags/ExtraTagWriter.h"
#include "backends/tags/PictureReader.h"
#include "catalog/Catalog.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

std::string ReadBytes(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

// The attached picture of a file as ffmpeg extracts it; empty when none.
std::string FfmpegPicture(const std::string& path, const std::string& scratch) {
  fs::remove(scratch);
  test::Run("ffmpeg -v error -y -i " + ShellQuote(path) +
            " -map 0:v:0 -c copy -frames:v 1 -f image2 " + ShellQuote(scratch));
  return fs::exists(scratch) ? ReadBytes(scratch) : std::string();
}

const OutputFormat& Mp3Row() {
  static const std::vector<OutputFormat> rows = BuildCatalog();
  return *FindFormat(rows, format_id::kMp3);
}

class PicturesCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");
  std::string cover = dir.File("cover.png");
  std::string cover2 = dir.File("cover2.png");

  void SetUp() override {
    test::Run("ffmpeg -v error -y -f lavfi -i testsrc=size=96x64 -frames:v 1 " + ShellQuote(cover));
    test::Run("ffmpeg -v error -y -f lavfi -i rgbtestsrc=size=32x32 -frames:v 1 " +
              ShellQuote(cover2));
    ASSERT_FALSE(ReadBytes(cover).empty());
  }

  // A one-second stereo tone of `extension` with `picture` as its cover.
  std::string Source(const std::string& name, const std::string& picture) {
    const std::string path = dir.File(name);
    MakeAudio(path, "sine=frequency=440:duration=1:sample_rate=44100",
              "-i " + ShellQuote(picture) +
                  " -map 0 -map 1 -c:v copy -disposition:v attached_pic -ac 2 "
                  "-metadata:s:v title=Front -metadata:s:v comment='Cover (front)'");
    return path;
  }

  test::CliRun Convert(const std::string& format, std::vector<std::string> extra) {
    std::vector<std::string> args = {"-f", format, "-d", out, "--if-exists", "overwrite"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli("convert", args, config);
  }

  std::string Output(const std::string& source, const std::string& extension) const {
    return (fs::path(out) / (fs::path(source).stem().string() + "." + extension)).string();
  }
};

// Every source family's cover comes out of every picture format unchanged,
// with its audio.
TEST_F(PicturesCli, CoverTravelsFromEverySourceToEveryPictureFormat) {
  const std::vector<std::string> sources = {Source("from_flac.flac", cover),
                                            Source("from_mp3.mp3", cover),
                                            Source("from_m4a.m4a", cover)};
  const std::string original = ReadBytes(cover);
  for (const std::string& source : sources)
    ASSERT_EQ(FfmpegPicture(source, dir.File("s.png")), original) << source;
  const std::pair<const char*, const char*> formats[] = {
      {"mp3", "mp3"}, {"6500", "m4a"},  {"6200", "m4a"}, {"flac", "flac"},
      {"ogg", "ogg"}, {"opus", "opus"}, {"wv", "wv"},    {"wma", "wma"}};
  for (const auto& [format, extension] : formats) {
    const test::CliRun run = Convert(format, sources);
    ASSERT_EQ(run.status, 0) << format << run.out << run.err;
    EXPECT_EQ(run.err.find("Warning"), std::string::npos) << run.err;
    for (const std::string& source : sources) {
      const std::string output = Output(source, extension);
      SCOPED_TRACE(format + (" " + output));
      EXPECT_EQ(FfmpegPicture(output, dir.File("p.png")), original);
      CoverPicture picture;
      ASSERT_TRUE(ReadCoverPicture(output, picture));
      EXPECT_EQ(picture.data, original);
      EXPECT_EQ(picture.mimeType, "image/png");
      const test::DecodedAudio audio = test::DecodeAudio(output);
      EXPECT_EQ(audio.channels, 2);
      EXPECT_NEAR(audio.Seconds(), 1.0, 0.1);
      EXPECT_NEAR(test::ToneFrequency(audio), 440.0, 5.0);
    }
  }
}

// Description, picture type and UTF-8 text survive where both ends keep them;
// without a front cover the first picture is taken, with one the front.
TEST_F(PicturesCli, FrontCoverChosenWithTypeAndDescription) {
  const std::string source = Source("two.mp3", cover);
  ExtraTags extras;
  extras.picture = CoverPicture{"image/png", "Rückseite", 4, ReadBytes(cover2)};
  ASSERT_TRUE(WriteExtraTags(source, Mp3Row(), extras).pictureProblem.empty());
  CoverPicture back;
  ASSERT_TRUE(ReadCoverPicture(source, back));
  EXPECT_EQ(back.type, 4);  // the only picture left is the back cover: first picture wins

  // A front cover added after the back one is the one chosen.
  {
    TagLib::MPEG::File file(source.c_str(), false);
    auto* front = new TagLib::ID3v2::AttachedPictureFrame;
    front->setMimeType("image/png");
    front->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    const std::string bytes = ReadBytes(cover);
    front->setPicture(TagLib::ByteVector(bytes.data(), static_cast<unsigned>(bytes.size())));
    file.ID3v2Tag(true)->addFrame(front);
    ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone));
  }
  ASSERT_EQ(Convert("flac", {source}).status, 0);
  CoverPicture chosen;
  ASSERT_TRUE(ReadCoverPicture(Output(source, "flac"), chosen));
  EXPECT_EQ(chosen.type, 3);
  EXPECT_EQ(chosen.data, ReadBytes(cover));

  // Without a front cover the back one travels, with its description.
  ASSERT_TRUE(WriteExtraTags(source, Mp3Row(), extras).pictureProblem.empty());
  ASSERT_EQ(Convert("ogg", {source}).status, 0);
  CoverPicture carried;
  ASSERT_TRUE(ReadCoverPicture(Output(source, "ogg"), carried));
  EXPECT_EQ(carried, *extras.picture);
}

// Formats without a picture, custom tags and --pictures off carry none and
// say nothing; a join carries its first file's picture.
TEST_F(PicturesCli, WhereNoPictureGoesAndJoins) {
  const std::string source = Source("song.flac", cover);
  struct Case {
    std::string format;
    std::vector<std::string> options;
  };
  for (const Case& c : std::vector<Case>{{"wav", {}},
                                         {"aac", {}},
                                         {"mp3", {"--pictures", "off"}},
                                         {"mp3", {"--title", "Custom"}},
                                         {"flac", {"--tags", "none"}}}) {
    std::vector<std::string> args = c.options;
    args.push_back(source);
    const test::CliRun run = Convert(c.format, args);
    ASSERT_EQ(run.status, 0) << c.format << run.err;
    EXPECT_EQ(run.err.find("Warning"), std::string::npos) << run.err;
    const std::string output = Output(source, c.format);
    CoverPicture none;
    EXPECT_FALSE(ReadCoverPicture(output, none)) << c.format;
    EXPECT_TRUE(FfmpegPicture(output, dir.File("n.png")).empty()) << c.format;
    EXPECT_NEAR(test::DecodeAudio(output).Seconds(), 1.0, 0.1) << c.format;
  }

  const std::string second = Source("second.mp3", cover2);
  const std::string joined = dir.File("joined.m4a");
  const test::CliRun run = RunCli("join", {"-f", "6500", "-o", joined, second, source}, config);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FfmpegPicture(joined, dir.File("j.png")), ReadBytes(cover2));
  EXPECT_NEAR(test::DecodeAudio(joined).Seconds(), 2.0, 0.15);
}

// A damaged picture frame and a picture over 16 MiB do not stop the file:
// it converts without the picture, and the oversized one is named on
// standard error.
TEST_F(PicturesCli, DamagedAndOversizedPicturesAreDropped) {
  const std::string damaged = Source("damaged.mp3", cover);
  std::string bytes = ReadBytes(damaged);
  const size_t apic = bytes.find("APIC");
  ASSERT_NE(apic, std::string::npos);
  // The frame claims far more than the tag holds, and its text fields lose
  // their terminators.
  bytes[apic + 4] = 0x7f;
  for (size_t i = apic + 11; i < apic + 40; ++i) bytes[i] = 'x';
  test::WriteFile(damaged, {bytes.begin(), bytes.end()});

  const std::string huge = dir.File("huge.mp3");
  MakeAudio(huge, "sine=frequency=440:duration=1:sample_rate=44100", "-ac 2");
  std::string picture = "\x89PNG\r\n\x1A\n";
  std::mt19937 random(7);
  picture.resize(20u * 1024 * 1024);
  for (size_t i = 8; i < picture.size(); ++i) picture[i] = static_cast<char>(random());
  ExtraTags extras;
  extras.picture = CoverPicture{"image/png", "", 3, picture};
  ASSERT_TRUE(WriteExtraTags(huge, Mp3Row(), extras).pictureProblem.empty());
  CoverPicture read;
  ASSERT_TRUE(ReadCoverPicture(huge, read));
  ASSERT_EQ(read.data.size(), picture.size());

  const test::CliRun run = Convert("flac", {damaged, huge});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.err.find("Warning: The picture of \"" + huge + "\""), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("16 MiB"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(damaged), std::string::npos) << run.err;
  for (const std::string& source : {damaged, huge}) {
    const std::string output = Output(source, "flac");
    CoverPicture none;
    EXPECT_FALSE(ReadCoverPicture(output, none)) << source;
    EXPECT_NEAR(test::DecodeAudio(output).Seconds(), 1.0, 0.1) << source;
  }
}

}  // namespace
}  // namespace quillo
