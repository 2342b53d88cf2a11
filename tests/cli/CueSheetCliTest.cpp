#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/cue/CueTracks.h"
#include "tests/cli/CliTestSupport.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::ShellQuote;

// The images: three seconds of a pattern whose every frame differs, so that
// a cut one sample off shows.
constexpr int kRate = 44100;
constexpr int kImageFrames = 3 * kRate;
constexpr int kSamplesPerCdFrame = kRate / 75;

// A track as the test expects it: its output's name, where it is cut (in
// samples of the image; -1 for the image's end) and its tags.
struct ExpectedTrack {
  const char* name;
  int start;
  int end;
  const char* title;
  const char* artist;
  const char* genre;
  const char* date;
  const char* comment;
};

struct Dialect {
  const char* name;
  const char* encoding;  // as iconv names it; the sheet is written in UTF-8 below
  const char* text;
  std::vector<ExpectedTrack> tracks;
  const char* failure;  // the reason a track fails, when one does
};

// The three tracks of one image, with an INDEX 00 pregap before the second.
constexpr const char* kPregapSheet =
    "REM GENRE \"Art Rock\"\r\n"
    "REM DATE 1999\r\n"
    "REM COMMENT made by hand\r\n"
    "PERFORMER \"Ясное Небо\"\r\n"
    "TITLE \"Café Album\"\r\n"
    "FILE \"image.flac\" WAVE\r\n"
    "  TRACK 01 AUDIO\r\n"
    "    TITLE \"Première chanson\"\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n"
    "    TITLE \"Ночной город\"\r\n"
    "    INDEX 00 00:01:00\r\n"
    "    INDEX 01 00:01:10\r\n"
    "  TRACK 03 AUDIO\r\n"
    "    TITLE \"Déjà vu encore\"\r\n"
    "    PERFORMER \"Другой Певец\"\r\n"
    "    INDEX 01 00:02:01\r\n";

const std::vector<ExpectedTrack> kPregapTracks = {
    {"01 Première chanson", 0, 85 * kSamplesPerCdFrame, "Première chanson", "Ясное Небо",
     "Art Rock", "1999", "made by hand"},
    {"02 Ночной город", 85 * kSamplesPerCdFrame, 151 * kSamplesPerCdFrame, "Ночной город",
     "Ясное Небо", "Art Rock", "1999", "made by hand"},
    {"03 Déjà vu encore", 151 * kSamplesPerCdFrame, -1, "Déjà vu encore", "Другой Певец",
     "Art Rock", "1999", "made by hand"},
};

// Latin-1 and CP1251 sheets have one script each, as real ones do.
constexpr const char* kLatinSheet =
    "PERFORMER \"Céline Bérénice et les Garçons\"\n"
    "TITLE \"Chansons d'été à la française\"\n"
    "FILE \"image.flac\" WAVE\n"
    "  TRACK 01 AUDIO\n"
    "    TITLE \"Où est passée la fête\"\n"
    "    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n"
    "    TITLE \"Déjà l'été, déjà les vacances\"\n"
    "    INDEX 01 00:01:10\n";

constexpr const char* kCyrillicSheet =
    "PERFORMER \"Группа Крови и Ночные Снайперы\"\n"
    "TITLE \"Песни о главном и о самом важном\"\n"
    "FILE \"image.flac\" WAVE\n"
    "  TRACK 01 AUDIO\n"
    "    TITLE \"Звезда по имени Солнце\"\n"
    "    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n"
    "    TITLE \"Пачка сигарет и последний герой\"\n"
    "    INDEX 01 00:01:10\n";

constexpr const char* kJapaneseSheet =
    "PERFORMER \"山田太郎と東京交響楽団\"\n"
    "TITLE \"日本の歌の名曲集です\"\n"
    "FILE \"image.flac\" WAVE\n"
    "  TRACK 01 AUDIO\n"
    "    TITLE \"さくらさくら弥生の空は\"\n"
    "    INDEX 01 00:00:00\n"
    "  TRACK 02 AUDIO\n"
    "    TITLE \"ふるさとの山に向かいて\"\n"
    "    INDEX 01 00:01:10\n";

ExpectedTrack Two(const char* name, bool second, const char* title, const char* artist) {
  return second ? ExpectedTrack{name, 85 * kSamplesPerCdFrame, -1, title, artist, "", "", ""}
                : ExpectedTrack{name, 0, 85 * kSamplesPerCdFrame, title, artist, "", "", ""};
}

const Dialect kDialects[] = {
    {"utf8_bom_pregap", "UTF-8-BOM", kPregapSheet, kPregapTracks, nullptr},
    {"utf16_bom", "UTF-16", kPregapSheet, kPregapTracks, nullptr},
    {"latin1",
     "ISO-8859-1",
     kLatinSheet,
     {Two("01 Où est passée la fête", false, "Où est passée la fête",
          "Céline Bérénice et les Garçons"),
      Two("02 Déjà l'été, déjà les vacances", true, "Déjà l'été, déjà les vacances",
          "Céline Bérénice et les Garçons")},
     nullptr},
    {"cp1251",
     "CP1251",
     kCyrillicSheet,
     {Two("01 Звезда по имени Солнце", false, "Звезда по имени Солнце",
          "Группа Крови и Ночные Снайперы"),
      Two("02 Пачка сигарет и последний герой", true, "Пачка сигарет и последний герой",
          "Группа Крови и Ночные Снайперы")},
     nullptr},
    {"shift_jis",
     "SHIFT_JIS",
     kJapaneseSheet,
     {Two("01 さくらさくら弥生の空は", false, "さくらさくら弥生の空は", "山田太郎と東京交響楽団"),
      Two("02 ふるさとの山に向かいて", true, "ふるさとの山に向かいて", "山田太郎と東京交響楽団")},
     nullptr},
    // Unquoted values (a REM value of several words included), several FILE
    // lines, a track without a title, an image named by its old extension.
    {"unquoted_several_files",
     "UTF-8",
     "REM GENRE Hard Rock\n"
     "REM DATE 2004\n"
     "PERFORMER Some Band\n"
     "FILE image.wav WAVE\n"
     "  TRACK 01 AUDIO\n"
     "    TITLE First Song\n"
     "    INDEX 01 00:00:00\n"
     "  TRACK 02 AUDIO\n"
     "    INDEX 01 00:01:10\n"
     "FILE \"second.flac\" WAVE\n"
     "  TRACK 03 AUDIO\n"
     "    TITLE \"Third\"\n"
     "    INDEX 01 00:00:30\n",
     {{"01 First Song", 0, 85 * kSamplesPerCdFrame, "First Song", "Some Band", "Hard Rock", "2004",
       ""},
      {"sheet 02", 85 * kSamplesPerCdFrame, -1, "", "Some Band", "Hard Rock", "2004", ""},
      {"03 Third", 30 * kSamplesPerCdFrame, -1, "Third", "Some Band", "Hard Rock", "2004", ""}},
     nullptr},
    {"missing_file",
     "UTF-8",
     "FILE \"gone.wav\" WAVE\n  TRACK 01 AUDIO\n    TITLE \"Lost\"\n    INDEX 01 00:00:00\n",
     {},
     "could not find FILE \"gone.wav\""},
};

std::string FormatTag(const std::string& path, const std::string& key) {
  const std::string value = test::Capture("ffprobe -v error -show_entries format_tags=" + key +
                                          " -of default=nw=1:nk=1 " + ShellQuote(path));
  return value.empty() ? value : value.substr(0, value.find_last_not_of('\n') + 1);
}

class CueSheetCli : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string config = dir.File("quillo.conf");
  std::string out = dir.File("out");
  std::vector<int16_t> pattern = test::TestPattern(kImageFrames);

  void SetUp() override {
    const std::string raw = dir.File("image.raw");
    test::WriteRawPcm(raw, pattern);
    const std::string input = "-f s16le -ar 44100 -ac 2 -i " + ShellQuote(raw);
    // The first image as FLAC, the second as a WAV a sheet names as FLAC.
    ASSERT_TRUE(test::MakeMedia(input, dir.File("image.flac")));
    ASSERT_TRUE(test::MakeMedia(input, dir.File("image.wav")));
    ASSERT_TRUE(test::MakeMedia(input, dir.File("second.wav")));
  }

  // Writes the sheet's UTF-8 text in `encoding`.
  std::string WriteSheet(const Dialect& dialect) {
    const std::string utf8 = dir.File("utf8.txt");
    std::ofstream(utf8, std::ios::binary) << dialect.text;
    const std::string sheet = dir.File("sheet.cue");
    const std::string encoding = dialect.encoding;
    if (encoding == "UTF-8-BOM")
      std::ofstream(sheet, std::ios::binary) << "\xEF\xBB\xBF" << dialect.text;
    else
      EXPECT_EQ(test::Run("iconv -f UTF-8 -t " + encoding + " -o " + ShellQuote(sheet) + " " +
                          ShellQuote(utf8)),
                0);
    return sheet;
  }

  // The pattern's frames from `start` to `end` (-1: the image's end).
  std::vector<int16_t> Slice(int start, int end) const {
    if (end < 0) end = kImageFrames;
    return {pattern.begin() + 2 * start, pattern.begin() + 2 * end};
  }
};

// Every dialect: its tracks listed and converted, each cut to the sample at
// its INDEX 01 (a pregap with the track before), named and tagged from the
// sheet in whatever encoding it came.
TEST_F(CueSheetCli, DialectsGiveTheirTracks) {
  for (const Dialect& dialect : kDialects) {
    SCOPED_TRACE(dialect.name);
    fs::remove_all(out);
    const std::string sheet = WriteSheet(dialect);
    const test::CliRun run =
        RunCli("convert", {"-f", "flac", "-d", out, "--if-exists", "overwrite", sheet}, config);
    if (dialect.failure != nullptr) {
      EXPECT_NE(run.status, 0);
      EXPECT_NE((run.out + run.err).find(dialect.failure), std::string::npos) << run.out << run.err;
      EXPECT_FALSE(fs::exists(out) && !fs::is_empty(out));
      continue;
    }
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    size_t outputs = 0;
    for (const auto& entry : fs::directory_iterator(out)) outputs += entry.is_regular_file();
    EXPECT_EQ(outputs, dialect.tracks.size());
    for (const ExpectedTrack& track : dialect.tracks) {
      SCOPED_TRACE(track.name);
      const std::string output = out + "/" + track.name + ".flac";
      const test::DecodedAudio audio = test::DecodeAudio(output);
      EXPECT_EQ(audio.rate, kRate);
      ASSERT_EQ(audio.channels, 2);
      const std::vector<int16_t> expected = Slice(track.start, track.end);
      ASSERT_EQ(audio.samples.size(), expected.size());
      EXPECT_TRUE(audio.samples == expected);
      EXPECT_EQ(FormatTag(output, "title"), track.title);
      EXPECT_EQ(FormatTag(output, "artist"), track.artist);
      EXPECT_EQ(FormatTag(output, "genre"), track.genre);
      EXPECT_EQ(FormatTag(output, "date"), track.date);
      EXPECT_EQ(FormatTag(output, "comment"), track.comment);
    }
  }
}

// An image added with its sheet (as a folder adds them) lists the tracks
// once each and not the image as well; a track's row lasts from its start to
// the next.
TEST_F(CueSheetCli, ImageWithItsSheetListsTracksOnly) {
  const std::string album = dir.File("album");
  fs::create_directories(album);
  fs::copy_file(dir.File("image.flac"), album + "/image.flac");
  std::ofstream(album + "/image.cue") << "TITLE \"A\"\nFILE \"image.flac\" WAVE\n"
                                         "TRACK 1 AUDIO\nTITLE \"One\"\nINDEX 01 00:00:00\n"
                                         "TRACK 2 AUDIO\nTITLE \"Two\"\nINDEX 01 00:02:00\n";
  std::ostringstream probeOut, probeErr;
  EXPECT_EQ(
      RunProbe({album + "/image.flac", album + "/image.cue"}, test::Backends(), probeOut, probeErr),
      0)
      << probeErr.str();
  const std::vector<std::string> rows = Lines(probeOut.str());
  ASSERT_EQ(rows.size(), 2u) << probeOut.str();
  EXPECT_NE(rows[0].find("\t01 One\t00:02\t"), std::string::npos) << rows[0];
  EXPECT_NE(rows[1].find("\t02 Two\t00:01\t"), std::string::npos) << rows[1];
}

// A join with --cue writes a sheet beside its output that our own reader
// reads back as the joined files: their titles (from tags, a cue track's
// sheet, or the name) and their starts, rounded to the nearer CD frame.
TEST_F(CueSheetCli, JoinWritesSheetOfItsFiles) {
  const std::string tagged = dir.File("tagged.flac");
  MakeAudio(tagged, "sine=f=440:r=44100:d=1.3",
            "-metadata title=\"First Tone\" -metadata artist=Ann");
  const std::string plain = dir.File("plain.wav");
  MakeAudio(plain, "sine=f=660:r=44100:d=0.7");
  std::ofstream(dir.File("album.cue")) << "PERFORMER \"Band\"\nFILE \"image.flac\" WAVE\n"
                                          "TRACK 01 AUDIO\nTITLE \"From Sheet\"\n"
                                          "INDEX 01 00:02:00\n";
  const std::string joined = dir.File("joined.flac");
  const test::CliRun run = RunCli(
      "join", {"--cue", "-f", "flac", "-o", joined, tagged, plain, dir.File("album.cue")}, config);
  ASSERT_EQ(run.status, 0) << run.out << run.err;

  const CueSheetTracks sheet = ReadCueTracks(dir.File("joined.cue"));
  ASSERT_TRUE(sheet.error.empty()) << sheet.error;
  ASSERT_EQ(sheet.tracks.size(), 3u);
  // 1.3 s is 97.5 frames, written as 98; 2.0 s is exactly 150.
  const struct {
    const char* title;
    const char* performer;
    int64_t start;
  } expected[] = {{"First Tone", "Ann", 0}, {"plain", "", 98}, {"From Sheet", "Band", 150}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(sheet.tracks[i].tags.title, expected[i].title);
    EXPECT_EQ(sheet.tracks[i].tags.artist, expected[i].performer);
    EXPECT_EQ(sheet.tracks[i].startFrame, expected[i].start);
    EXPECT_TRUE(sheet.failures[i].empty()) << sheet.failures[i];
    EXPECT_EQ(sheet.tracks[i].imagePath, joined);
  }
  // The joined audio holds all three: the image's last second after the two.
  const test::DecodedAudio audio = test::DecodeAudio(joined);
  EXPECT_EQ(audio.samples.size() / static_cast<size_t>(audio.channels),
            static_cast<size_t>(kRate * 3));
}

}  // namespace
}  // namespace quillo
