// Every step that writes into an output (the audio, its picture, ReplayGain
// tags, a loudness gain, custom tags, a join) on a disk with too little room:
// each failure is reported with its reason, nothing undecodable takes a
// final name and an older target survives. The disk is a small tmpfs the test
// mounts, so it runs as root only.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "backends/tags/PictureReader.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

// A tmpfs mounted on a folder for the life of the object.
class SmallDisk {
 public:
  explicit SmallDisk(std::string folder) : folder_(std::move(folder)) {
    fs::create_directories(folder_);
    mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=4m") == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  bool ReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return mount("tmpfs", folder_.c_str(), "tmpfs", flags, "size=4m") == 0;
  }

  // Empties the disk but for `keep`, then fills it until `bytes` are free
  // (0: leaves it all free).
  void LeaveFree(long bytes, const std::string& keep) {
    for (const auto& entry : fs::directory_iterator(folder_))
      if (entry.path() != keep) fs::remove_all(entry.path());
    struct statvfs info {};
    ASSERT_EQ(statvfs(folder_.c_str(), &info), 0);
    const long free = static_cast<long>(info.f_bavail * info.f_bsize);
    ASSERT_GT(free, bytes) << "the disk is too small for the row";
    if (bytes > 0) test::WriteFile(folder_ + "/filler", std::vector<uint8_t>(free - bytes, 0));
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// How much room a row leaves, from the size its output needs.
enum class Room {
  kShortOfHalfThePicture,  // the audio fits, the picture does not
  kShortOfHalfTheOutput,   // the disk fills while the audio is written
  kNoRoomForACopy,         // the output fits, a second copy of it would not
  kReadOnly,               // nothing can be created
};

TEST(FullDisk, EveryStepThatWritesAnOutputFailsCleanlyOnAFullDisk) {
  test::TempDir dir;
  SmallDisk disk(dir.File("disk"));
  if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
  const std::string config = dir.File("quillo.conf");
  // A cover of random pixels does not compress: about 480 KB.
  const std::string cover = dir.File("cover.png");
  MakeAudio(cover, "nullsrc=s=450x450,geq=random(1)*255:random(2)*255:random(3)*255",
            "-frames:v 1");
  const std::vector<uint8_t> coverBytes = test::ReadFile(cover);
  std::vector<std::string> sources;
  for (const char* name : {"one.flac", "two.flac"}) {
    sources.push_back(dir.File(name));
    MakeAudio(
        sources.back(), "sine=frequency=440:duration=1:sample_rate=44100",
        "-i " + ShellQuote(cover) + " -map 0 -map 1 -c:v copy -disposition:v attached_pic -ac 2");
  }

  struct Row {
    std::string format, extension;
    std::vector<std::string> options;
    Room room;
    bool join = false;
  };
  const std::vector<std::string> picture = {"--tags", "source", "--pictures", "on"};
  const std::vector<std::string> gain = {"--replaygain", "on"};
  const std::vector<std::string> loudness = {"--pictures", "on", "--loudness", "-20"};
  const std::vector<std::string> custom = {"--title", "Custom", "--replaygain", "on"};
  std::vector<Row> rows = {
      {"flac", "flac", picture, Room::kShortOfHalfThePicture, true},
      {"6500", "m4a", picture, Room::kShortOfHalfThePicture, true},
      {"flac", "flac", loudness, Room::kShortOfHalfThePicture},
      // An output held for its album's values fails as any other.
      {"flac", "flac", {"--tags", "source", "--pictures", "on", "--replaygain", "album"},
       Room::kShortOfHalfThePicture},
      {"mp3", "mp3", custom, Room::kShortOfHalfTheOutput},
      {"ogg", "ogg", custom, Room::kShortOfHalfTheOutput, true},
      {"mp3", "mp3", picture, Room::kReadOnly, true},
  };
  for (const auto& [format, extension] : std::vector<std::pair<std::string, std::string>>{
           {"flac", "flac"}, {"mp3", "mp3"}, {"ogg", "ogg"}, {"wma", "wma"}, {"6500", "m4a"}}) {
    rows.push_back({format, extension, picture, Room::kShortOfHalfThePicture});
    rows.push_back({format, extension, picture, Room::kNoRoomForACopy});
    rows.push_back({format, extension, gain, Room::kNoRoomForACopy});
  }

  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  std::map<std::string, long> sizes;  // what each output needs, by its command line
  for (const Row& row : rows) {
    const std::string name = (row.join ? "joined." : "one.") + row.extension;
    const std::string target = dir.File("disk/" + name);
    const auto run = [&](const std::string& folder) {
      std::vector<std::string> args = {"-f", row.format, "--if-exists", "overwrite"};
      args.insert(args.end(), row.options.begin(), row.options.end());
      if (row.join)
        args.insert(args.end(), {"-o", folder + "/" + name, sources[0], sources[1]});
      else
        args.insert(args.end(), {"-d", folder, sources[0]});
      return RunCli(row.join ? "join" : "convert", args, config);
    };
    const std::string key = name + testing::PrintToString(row.options);
    SCOPED_TRACE(key + " room " + std::to_string(static_cast<int>(row.room)));
    ASSERT_TRUE(disk.ReadOnly(false));
    // The size the output needs, from a run with room enough.
    if (!sizes.count(key)) {
      const std::string roomy = dir.File("disk/roomy");
      disk.LeaveFree(0, "");
      fs::create_directories(roomy);
      ASSERT_EQ(run(roomy).status, 0);
      sizes[key] = static_cast<long>(fs::file_size(roomy + "/" + name));
    }
    const long needed = sizes[key];

    test::WriteFile(target, old);
    long room = needed + 8192;
    if (row.room == Room::kShortOfHalfThePicture)
      room = needed - static_cast<long>(coverBytes.size()) / 2;
    if (row.room == Room::kShortOfHalfTheOutput) room = needed / 2;
    disk.LeaveFree(room, target);
    ASSERT_TRUE(row.room != Room::kReadOnly || disk.ReadOnly(true));
    const test::CliRun result = run(dir.File("disk"));
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), row.join ? sources.size() : 1u) << result.out << result.err;

    if (row.room == Room::kNoRoomForACopy) {
      EXPECT_EQ(result.status, 0) << result.out << result.err;
      EXPECT_EQ(result.err.find("Warning"), std::string::npos) << result.err;
      const test::DecodedAudio audio = test::DecodeAudio(target);
      EXPECT_EQ(audio.rate, 44100);
      EXPECT_EQ(audio.channels, 2);
      EXPECT_NEAR(audio.Seconds(), row.join ? 2.0 : 1.0, 0.1);
      CoverPicture carried;
      if (row.options == picture) {
        EXPECT_TRUE(ReadCoverPicture(target, carried));
        EXPECT_EQ(carried.data, std::string(coverBytes.begin(), coverBytes.end()));
      } else {
        EXPECT_TRUE(std::regex_search(
            test::Capture("ffprobe -v error -show_entries format_tags:stream_tags " +
                          ShellQuote(target)),
            std::regex("replaygain_track_gain", std::regex::icase)));
      }
    } else {
      EXPECT_EQ(result.status, 1) << result.out << result.err;
      const std::string reason =
          row.room == Room::kReadOnly
              ? "Failed to create file \"" + target + "\" (Read-only file system)"
              : "Conversion Failure (No space left on device)";
      for (const std::string& line : lines) EXPECT_NE(line.find(reason), std::string::npos) << line;
      EXPECT_EQ(test::ReadFile(target), old);
      EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("disk")), {}), 2)
          << "the filler and the target only: no temporary file is left";
    }
  }
}

}  // namespace
}  // namespace quillo
