#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/media/FileList.h"
#include "engine/media/Utf8.h"
#include "engine/output/NamePattern.h"
#include "engine/output/OutputPath.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

constexpr char kSameAsSource[] =
    "Target file name is same as original file that can't be overwritten. Please output files "
    "to a custom folder.";

void Touch(const std::string& path, std::vector<uint8_t> bytes = {1, 2, 3}) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFile(path, bytes);
}

// Runs MakeOutputPath for `source`; returns the output path, or "" with the
// message in `message`.
std::string Output(const std::string& source, const OutputPathOptions& options,
                   std::string* message = nullptr, const std::string& extension = "mp3") {
  FileItem item;
  item.path = source;
  item.outputPath = "untouched";
  std::string text = "unset";
  const bool ok = MakeOutputPath(item, extension, options, text);
  if (message != nullptr) *message = ok ? "" : text;
  if (!ok) {
    EXPECT_EQ(item.outputPath, "untouched") << "a failure must leave the item alone";
    return "";
  }
  // Proving the path must not leave a file behind.
  EXPECT_FALSE(fs::exists(fs::symlink_status(item.outputPath))) << item.outputPath;
  return item.outputPath;
}

OutputPathOptions Policy(TargetExistsPolicy policy) {
  OutputPathOptions options;
  options.targetPolicy = policy;
  return options;
}

TEST(MakeOutputPath, SameFolderRenamesAroundExistingFiles) {
  TempDir dir;
  const std::string source = dir.File("a.mp3");
  Touch(source);
  EXPECT_EQ(Output(source, Policy(TargetExistsPolicy::Rename)), dir.File("a_1.mp3"));
  Touch(dir.File("a_1.mp3"));
  EXPECT_EQ(Output(source, Policy(TargetExistsPolicy::Rename)), dir.File("a_2.mp3"));
  // Unknown policies rename as well; a dangling link counts as taken.
  fs::create_symlink(dir.File("nowhere"), dir.File("a_2.mp3"));
  EXPECT_EQ(Output(source, Policy(static_cast<TargetExistsPolicy>(12345))), dir.File("a_3.mp3"));
  // Nothing in the way: the plain name.
  EXPECT_EQ(Output(source, Policy(TargetExistsPolicy::Rename), nullptr, "wav"), dir.File("a.wav"));
}

// A run numbers many files of one name in one step each: it goes on from the
// last number given, still around names taken on the disk.
TEST(MakeOutputPath, RepeatedNamesGoOnFromTheLastNumber) {
  TempDir dir;
  Touch(dir.File("out/song_2.mp3"));
  std::set<std::string> claimed;
  std::map<std::string, long> next;
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  options.folder = dir.File("out");
  options.claimedThisRun = &claimed;
  options.nextNumbers = &next;
  std::vector<std::string> names;
  for (int i = 0; i < 4; ++i) {
    const std::string output = Output("/music/" + std::to_string(i) + "/song.flac", options);
    claimed.insert(FileListKey(output));
    names.push_back(fs::path(output).filename().string());
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"song.mp3", "song_1.mp3", "song_3.mp3", "song_4.mp3"}));
}

TEST(MakeOutputPath, OverwriteRefusesTheSourceItselfWithoutFallback) {
  TempDir dir;
  const std::string source = dir.File("music/a.mp3");
  Touch(source);
  OutputPathOptions options = Policy(TargetExistsPolicy::Overwrite);
  options.documentsFallback = true;
  options.documentsFolder = dir.File("docs");
  std::string message;
  EXPECT_EQ(Output(source, options, &message), "");
  EXPECT_EQ(message, kSameAsSource);
  EXPECT_FALSE(fs::exists(dir.File("docs")));

  // The same file reached through "..", a link to its folder, or a hard link
  // of another name.
  fs::create_directories(dir.File("other"));
  fs::create_directory_symlink(dir.File("music"), dir.File("link"));
  fs::create_directories(dir.File("hard"));
  fs::create_hard_link(source, dir.File("hard/a.mp3"));
  options.folderMode = OutputFolderMode::SpecificFolder;
  for (const std::string& folder :
       {dir.File("other/../music"), dir.File("link"), dir.File("hard")}) {
    options.folder = folder;
    EXPECT_EQ(Output(source, options, &message), "") << folder;
    EXPECT_EQ(message, kSameAsSource);
  }
  EXPECT_TRUE(fs::exists(source));
}

TEST(MakeOutputPath, OverwriteKeepsTheOldTargetUntilTheConversionReplacesIt) {
  TempDir dir;
  const std::string source = dir.File("a.wav");
  Touch(source);
  Touch(dir.File("a.mp3"), {9, 9, 9, 9});
  // The target stays in place, so this is checked by hand.
  FileItem item;
  item.path = source;
  std::string message;
  ASSERT_TRUE(MakeOutputPath(item, "mp3", Policy(TargetExistsPolicy::Overwrite), message));
  EXPECT_EQ(item.outputPath, dir.File("a.mp3"));
  EXPECT_EQ(test::ReadFile(dir.File("a.mp3")), (std::vector<uint8_t>{9, 9, 9, 9}));
  // Letter case tells files apart: A.MP3 is another file than A.mp3.
  Touch(dir.File("B.MP3"));
  Touch(dir.File("B.mp3"));
  item.path = dir.File("B.MP3");
  ASSERT_TRUE(MakeOutputPath(item, "mp3", Policy(TargetExistsPolicy::Overwrite), message));
  EXPECT_EQ(item.outputPath, dir.File("B.mp3"));
  // Only the leftovers of the probe would show up as extra files.
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 4u);
}

// The names created in a folder while `action` runs.
template <typename Action>
std::vector<std::string> CreatedNames(const std::string& folder, Action action) {
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  EXPECT_GE(fd, 0);
  EXPECT_GE(inotify_add_watch(fd, folder.c_str(), IN_CREATE), 0);
  action();
  std::vector<std::string> names;
  alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      if (event->len > 0) names.emplace_back(event->name);
      at += sizeof(inotify_event) + event->len;
    }
  }
  close(fd);
  return names;
}

// Proving that a name can be created never makes the name itself: a run
// killed at that moment would leave an empty file there, which a later run
// with the skip policy would take for a finished output.
TEST(MakeOutputPath, ProvingTheNameNeverCreatesIt) {
  TempDir dir;
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  options.folder = dir.File("out");
  fs::create_directories(options.folder);
  std::string output;
  const std::vector<std::string> created =
      CreatedNames(options.folder, [&] { output = Output("/music/song.flac", options); });
  EXPECT_EQ(output, dir.File("out/song.mp3"));
  ASSERT_EQ(created.size(), 1u) << "the name was proved once";
  EXPECT_EQ(created[0].rfind(".song.quillo-part-", 0), 0u) << created[0];

  // A name longer than the file system takes fails here, not in the middle of
  // the conversion.
  std::string message;
  const std::string longName = "/music/" + std::string(252, 'x') + ".flac";
  EXPECT_EQ(Output(longName, options, &message), "");
  EXPECT_EQ(message.rfind("Failed to create file \"", 0), 0u) << message;
}

TEST(MakeOutputPath, SkipPolicyLeavesExistingTargets) {
  TempDir dir;
  const std::string source = dir.File("a.mp3");
  Touch(source);
  OutputPathOptions options = Policy(TargetExistsPolicy::Skip);
  options.documentsFallback = true;
  options.documentsFolder = dir.File("docs");
  std::string message;
  EXPECT_EQ(Output(source, options, &message), "");
  EXPECT_EQ(message, "Target exists and skipped");
  EXPECT_FALSE(fs::exists(dir.File("docs")));
  EXPECT_EQ(Output(source, options, &message, "ogg"), dir.File("a.ogg"));
}

TEST(MakeOutputPath, FileNamesWithoutOrWithSeveralDots) {
  TempDir dir;
  EXPECT_EQ(Output(dir.File("track"), {}, nullptr, "wav"), dir.File("track.wav"));
  EXPECT_EQ(Output(dir.File("my.band.live.flac"), {}, nullptr, "wav"),
            dir.File("my.band.live.wav"));
  // A dot in a folder name is not an extension.
  fs::create_directories(dir.File("v1.2"));
  EXPECT_EQ(Output(dir.File("v1.2/track"), {}, nullptr, "wav"), dir.File("v1.2/track.wav"));
}

TEST(MakeOutputPath, SpecificFolderIsCreated) {
  TempDir dir;
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  options.folder = dir.File("out/deeper");
  EXPECT_EQ(Output("/music/pop/song.flac", options, nullptr, "wav"),
            dir.File("out/deeper/song.wav"));
  EXPECT_TRUE(fs::is_directory(dir.File("out/deeper")));
  options.folder = dir.File("out/deeper/");
  EXPECT_EQ(Output("/music/pop/song.flac", options, nullptr, "wav"),
            dir.File("out/deeper/song.wav"));
}

TEST(MakeOutputPath, KeepTreeRebuildsTheSourceFoldersBelowTheOutputFolder) {
  TempDir dir;
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  options.folder = dir.File("out");
  options.keepTree = true;
  EXPECT_EQ(Output("/home/ann/Music/pop/track01.mp3", options, nullptr, "wav"),
            dir.File("out/home/ann/Music/pop/track01.wav"));
  EXPECT_TRUE(fs::is_directory(dir.File("out/home/ann/Music/pop")));
  // Doubled slashes and ".." are resolved; the tree never climbs out of the folder.
  EXPECT_EQ(Output("//home//ann/../bob/x.mp3", options, nullptr, "wav"),
            dir.File("out/home/bob/x.wav"));
  EXPECT_EQ(Output("/../../etc/x.mp3", options, nullptr, "wav"), dir.File("out/etc/x.wav"));
  EXPECT_EQ(Output("/x.mp3", options, nullptr, "wav"), dir.File("out/x.wav"));
  // Keep tree means nothing for the same-folder mode.
  options.folderMode = OutputFolderMode::SameAsSource;
  fs::create_directories(dir.File("in"));
  EXPECT_EQ(Output(dir.File("in/x.mp3"), options, nullptr, "wav"), dir.File("in/x.wav"));
}

TEST(MakeOutputPath, FolderAndFileFailuresNameWhatFailed) {
  TempDir dir;
  Touch(dir.File("file"));
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  std::string message;

  options.folder = "";
  EXPECT_EQ(Output("/music/a.mp3", options, &message), "");
  EXPECT_EQ(message, "Failed to create folder \"\"");

  options.folder = dir.File("file/out");
  EXPECT_EQ(Output("/music/a.mp3", options, &message), "");
  EXPECT_EQ(message, "Failed to create folder \"" + dir.File("file/out") + "\"");

  // The tree below a good folder cannot be made: a file is in the way.
  options.folder = dir.File("out");
  options.keepTree = true;
  Touch(dir.File("out/music"));
  EXPECT_EQ(Output("/music/pop/a.mp3", options, &message), "");
  EXPECT_EQ(message, "Failed to create folder \"" + dir.File("out/music/pop/") + "\"");

  // Next to a source that sits "below" a file, nothing can be created.
  EXPECT_EQ(Output(dir.File("file/a.mp3"), {}, &message), "");
  EXPECT_EQ(message, "Failed to create file \"" + dir.File("file/a.mp3") + "\" (Not a directory)");

  // Overwriting a folder of the target's name is impossible.
  fs::create_directories(dir.File("dir.mp3"));
  EXPECT_EQ(Output(dir.File("dir.wav"), Policy(TargetExistsPolicy::Overwrite), &message), "");
  EXPECT_EQ(message, "Failed to create file \"" + dir.File("dir.mp3") + "\" (Is a directory)");
}

TEST(MakeOutputPath, DocumentsFallbackCatchesCreationFailures) {
  TempDir dir;
  Touch(dir.File("file"));
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  options.folder = dir.File("file/out");
  options.documentsFallback = true;
  options.documentsFolder = dir.File("docs/Documents");
  EXPECT_EQ(Output("/music/pop/a.mp3", options), dir.File("docs/Documents/a.mp3"));

  options.keepTree = true;
  EXPECT_EQ(Output("/music/pop/a.mp3", options), dir.File("docs/Documents/music/pop/a.mp3"));

  // From the same-folder mode the fallback does not rebuild the tree.
  OutputPathOptions beside;
  beside.keepTree = true;
  beside.documentsFallback = true;
  beside.documentsFolder = dir.File("docs/Documents");
  EXPECT_EQ(Output(dir.File("file/a.mp3"), beside), dir.File("docs/Documents/a.mp3"));

  // A documents folder that cannot be made keeps the first message.
  std::string message;
  options.documentsFolder = dir.File("file/Documents");
  EXPECT_EQ(Output("/music/pop/a.mp3", options, &message), "");
  EXPECT_EQ(message, "Failed to create folder \"" + dir.File("file/out") + "\"");
  options.documentsFolder = "";
  EXPECT_EQ(Output("/music/pop/a.mp3", options, &message), "");
  EXPECT_EQ(message, "Failed to create folder \"" + dir.File("file/out") + "\"");

  // A second failure below the documents folder replaces the message.
  options.documentsFolder = dir.File("docs2");
  options.keepTree = false;
  options.targetPolicy = TargetExistsPolicy::Overwrite;
  fs::create_directories(dir.File("docs2/a.mp3"));
  EXPECT_EQ(Output("/music/pop/a.mp3", options, &message), "");
  EXPECT_EQ(message, "Failed to create file \"" + dir.File("docs2/a.mp3") + "\" (Is a directory)");

  // A file name too long for any folder keeps naming the folder asked for.
  const std::string longName = std::string(252, 'x');
  options.folder = dir.File("out");
  options.documentsFolder = dir.File("docs3");
  EXPECT_EQ(Output("/music/" + longName + ".flac", options, &message), "");
  EXPECT_EQ(message, "Failed to create file \"" + dir.File("out/" + longName + ".mp3") +
                         "\" (File name too long)");
  EXPECT_FALSE(fs::exists(dir.File("docs3")));
}

// Names from tags: every pattern and every tag value, however hostile, gives
// an output inside the output folder (beside the source: inside its folder),
// each part of it a name the file system takes.
TEST(MakeOutputPath, NamePatternsKeepEveryOutputInsideTheFolder) {
  TempDir dir;
  const std::string longTitle = [] {
    std::string text;
    for (int i = 0; i < 150; ++i) text += "\xC3\xA9";  // 300 bytes of "é"
    return text;
  }();
  TagInfo full;
  full.title = "Song";
  full.artist = "Artist";
  full.albumArtist = "Various";
  full.album = "Album";
  full.track = "7/12";
  full.disc = "2";
  full.year = "1999";
  full.genre = "Rock";
  TagInfo hostile;
  hostile.artist = "../..";
  hostile.album = "AC/DC";
  hostile.title =
      "a\x01"
      "b\nc\x7F\xC2\x85";
  hostile.genre = "  ";
  TagInfo tooLong;
  tooLong.title = longTitle;
  tooLong.artist = "";
  struct Case {
    const char* pattern;
    const TagInfo* tags;
    bool beside;           // beside the source instead of the output folder
    const char* expected;  // below the folder; "" for a cut name checked by size
  };
  const TagInfo none;
  const Case cases[] = {
      {"{artist}/{album}/{track:02} {title}", &full, false, "Artist/Album/07 Song.mp3"},
      {"{albumartist}/{disc}-{track:3} {title} ({year}, {genre})", &full, false,
       "Various/2-007 Song (1999, Rock).mp3"},
      {"{albumartist}/{track}", &hostile, false, "___../0.mp3"},
      {"{album}/{artist}/{title}", &hostile, false, "AC_DC/___../a_b_c__.mp3"},
      {"{genre}/{year}/{name}", &hostile, false, "Unknown Genre/Unknown Year/src.mp3"},
      {"{artist}/{album}/{title}", &none, false, "Unknown Artist/Unknown Album/src.mp3"},
      {"{artist}/{track:02} {title}", &full, true, "Artist/07 Song.mp3"},
      {"{artist}/{title}", &tooLong, false, ""},
      {"..{artist}/.{title}", &hostile, false, "..___../.a_b_c__.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    const std::string folder = dir.File(c.beside ? "in" : "out");
    OutputPathOptions options;
    options.folderMode =
        c.beside ? OutputFolderMode::SameAsSource : OutputFolderMode::SpecificFolder;
    options.folder = folder;
    options.namePattern = c.pattern;
    options.nameTags = c.tags;
    ASSERT_EQ(NamePatternProblem(c.pattern), "");
    fs::create_directories(dir.File("in"));
    const std::string output = Output(dir.File("in/src.flac"), options);
    ASSERT_FALSE(output.empty());
    const fs::path real = fs::weakly_canonical(output);
    const std::string inside = real.lexically_relative(fs::weakly_canonical(folder)).string();
    EXPECT_FALSE(inside.empty() || *fs::path(inside).begin() == "..") << output;
    if (*c.expected != '\0') {
      EXPECT_EQ(inside, c.expected);
    }
    for (const fs::path& part : fs::path(inside)) {
      EXPECT_LE(part.string().size(), 255u) << inside;
      EXPECT_TRUE(IsValidUtf8(part.string())) << inside;
      EXPECT_NE(part.string().front(), '\0');
    }
  }

  // A 300-byte title is cut to fit, whole characters only; a second file of
  // that name is numbered within the limit as well.
  OutputPathOptions options;
  options.folderMode = OutputFolderMode::SpecificFolder;
  options.folder = dir.File("cut");
  options.namePattern = "{title}";
  options.nameTags = &tooLong;
  const std::string first = Output("/music/a.flac", options);
  ASSERT_FALSE(first.empty());
  const std::string name = fs::path(first).filename().string();
  EXPECT_EQ(name.size(), 254u);  // 255 less the half of an "é"
  Touch(first);
  const std::string numbered = Output("/music/a.flac", options);
  ASSERT_FALSE(numbered.empty());
  const std::string second = fs::path(numbered).filename().string();
  EXPECT_LE(second.size(), 255u);
  EXPECT_EQ(second.substr(second.size() - 6), "_1.mp3");
  EXPECT_TRUE(IsValidUtf8(second));
}

// Patterns that could reach outside the folder, or name nothing, are refused
// with words for the user before any file is named.
TEST(NamePattern, RefusesPatternsThatCouldLeaveTheFolder) {
  const std::pair<const char*, const char*> refused[] = {
      {"/{artist}", "must not start with \"/\""},
      {"../{title}", "\"..\""},
      {"{artist}/./{title}", "\"..\""},
      {"{artist}//{title}", "empty"},
      {"{artist}/", "empty"},
      {"{artist}\n{title}", "control"},
      {"{artst}", "starts no field"},
      {"{title", "starts no field"},
      {"{artist:02}", "starts no field"},
      {"{track:0}", "starts no field"},
  };
  for (const auto& [pattern, words] : refused)
    EXPECT_NE(NamePatternProblem(pattern).find(words), std::string::npos) << pattern;
  for (const char* good : {"", "{name}", "a}b", "{track:02} {title}", ".hidden/{album}"})
    EXPECT_EQ(NamePatternProblem(good), "") << good;
  EXPECT_FALSE(NamePatternUsesTags("{name} - x"));
  EXPECT_TRUE(NamePatternUsesTags("{name}/{disc}"));
}

// The join's save dialog starts in the folder outputs go to (the specific
// one, else the first source's) with the first source's name.
TEST(SuggestedJoinPath, StartsWhereTheOutputsGo) {
  using M = OutputFolderMode;
  struct Case {
    M mode;
    const char* folder;
    const char* source;
    const char* suggested;
  };
  const Case cases[] = {
      {M::SameAsSource, "/out", "/music/a.wav", "/music/a.mp3"},
      {M::SpecificFolder, "/out", "/music/a.wav", "/out/a.mp3"},
      {M::SpecificFolder, "/out/", "/music/a.wav", "/out/a.mp3"},
      {M::SpecificFolder, "", "/music/a.wav", "/music/a.mp3"},
      {M::SameAsSource, "", "a.wav", "a.mp3"},
      {M::SpecificFolder, "/out", "/music/live.set.flac", "/out/live.set.mp3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SuggestedJoinPath(c.mode, c.folder, c.source, "mp3"), c.suggested) << c.folder;
}

}  // namespace
}  // namespace quillo
