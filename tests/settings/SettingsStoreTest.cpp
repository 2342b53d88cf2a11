#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <QString>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "catalog/Catalog.h"
#include "settings/IniSettingsProvider.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

using test::TempDir;
using S = ConversionSettings;

// One stored number of the settings (those of the tags aside): its value in
// fresh settings made with a documents folder, and a value off it, so that a
// number the store forgets shows up as a difference after a round trip.
struct StoredNumber {
  const char* name;
  int32_t (*get)(const S&);
  void (*set)(S&, int32_t);
  int32_t fresh;
  int32_t changed;
};

template <auto Member>
StoredNumber Number(const char* name, int32_t fresh, int32_t changed) {
  return {name, [](const S& s) { return static_cast<int32_t>(s.*Member); },
          [](S& s, int32_t v) {
            s.*Member = static_cast<std::remove_reference_t<decltype(s.*Member)>>(v);
          },
          fresh, changed};
}

const StoredNumber kNumbers[] = {
    Number<&S::destOutputFolderOpt>("destOutputFolderOpt", 399, 199),
    Number<&S::createDirs>("createDirs", 0, 1),
    Number<&S::browseOutputFolder>("browseOutputFolder", 1, 0),
    Number<&S::outputFiles2MyDocuments>("outputFiles2MyDocuments", 1, 0),
    Number<&S::targetExistsOpt>("targetExistsOpt", 11, 33),
    Number<&S::monoType>("monoType", 0, 2),
    Number<&S::doNotLoadHiddenFiles>("doNotLoadHiddenFiles", 0, 1),
    Number<&S::enableDtsForCda>("enableDtsForCda", 0, 1),
    Number<&S::enableConvertLength>("enableConvertLength", 0, 1),
    Number<&S::enableSkipLength>("enableSkipLength", 0, 1),
    Number<&S::convertLength>("convertLength", 0, 61000),
    Number<&S::skipLength>("skipLength", 0, 1500),
    Number<&S::enableExtFilter>("enableExtFilter", 0, 1),
    Number<&S::volume>("volume", 100, 250),
    Number<&S::volumeType>("volumeType", 2, 1),
    Number<&S::id3TagType>("id3TagType", 2, 1),
    Number<&S::transferPictures>("transferPictures", 1, 0),
    Number<&S::writeReplayGain>("writeReplayGain", 0, 2),
    Number<&S::loudnessTarget>("loudnessTarget", -18, -23),
    Number<&S::loudnessByAlbum>("loudnessByAlbum", 0, 1),
    Number<&S::outputFormat>("outputFormat", 1000, 6500),
    Number<&S::wmaAutoEncParam>("wmaAutoEncParam", 1, 0),
    Number<&S::wmaBitRate>("wmaBitRate", 128000, 64000),
    Number<&S::wmaSampleRate>("wmaSampleRate", 44100, 22050),
    Number<&S::wmaChannels>("wmaChannels", 2, 1),
    Number<&S::amrMode>("amrMode", 6, 3),
    Number<&S::amrWbMode>("amrWbMode", 6, 8),
    Number<&S::amrDtx>("amrDtx", 0, 1),
    Number<&S::amrType>("amrType", 0, 1),
    Number<&S::awbMode>("awbMode", 6, 2),
    Number<&S::awbDtx>("awbDtx", 0, 1),
    Number<&S::opusVbr>("opusVbr", 1, 0),
    Number<&S::wavPackCompression>("wavPackCompression", 1, 3),
    Number<&S::optStartPageIndex>("optStartPageIndex", 0, 17),
};

// Settings with every stored value moved off its default.
ConversionSettings ChangedSettings() {
  ConversionSettings s("/home/ann/Documents");
  s.folder = "/home/ann/Music/ünïcode folder";
  s.destSpecifiedFolder = "/data/out, with comma";
  s.filterExts = "MP3; .Wav  ,,aac";
  for (const StoredNumber& number : kNumbers) number.set(s, number.changed);
  s.tags.title = "Title \"quoted\" = x";
  s.tags.artist = "Artist; semi";
  s.tags.album = "Album, with comma";
  s.tags.year = "1999";
  s.tags.genre = "Trip-Hop";
  s.tags.comment = "line one\nline two";
  s.tags.composer = "Compösér";
  s.tags.copyright = "@at start";
  s.tags.titleAsFileName = 0;
  s.tags.trackNumType = TrackNumberMode::Custom;
  s.tags.customTrackNum = 42;
  // Every row's encoding values differ from the catalog, each row differently;
  // the codec is the row's last choice (loading refuses a codec the row does
  // not offer).
  int32_t n = 1;
  for (OutputFormat& row : s.formats) {
    if (!HasOwnCodecSettings(row)) continue;
    row.autoEncParam = 1 - row.autoEncParam;
    if (!row.codecChoices.empty()) row.codecId = row.codecChoices.back()->codecId;
    row.sampleRate = 8000 + n;
    row.bitRate = 32000 + n;
    row.channels = n % 3;
    ++n;
  }
  return s;
}

// Expects every stored value (and every row's five encoding values) of the
// two to match.
void ExpectSameStoredValues(const ConversionSettings& a, const ConversionSettings& e) {
  EXPECT_EQ(a.folder, e.folder);
  EXPECT_EQ(a.destSpecifiedFolder, e.destSpecifiedFolder);
  EXPECT_EQ(a.filterExts, e.filterExts);
  for (const StoredNumber& number : kNumbers)
    EXPECT_EQ(number.get(a), number.get(e)) << number.name;
  EXPECT_EQ(a.tags, e.tags);
  ASSERT_EQ(a.formats.size(), e.formats.size());
  for (std::size_t i = 0; i < a.formats.size(); ++i) {
    const OutputFormat& x = a.formats[i];
    const OutputFormat& y = e.formats[i];
    EXPECT_EQ(x.formatId, y.formatId);
    EXPECT_EQ(x.autoEncParam, y.autoEncParam) << x.formatId;
    EXPECT_EQ(x.codecId, y.codecId) << x.formatId;
    EXPECT_EQ(x.sampleRate, y.sampleRate) << x.formatId;
    EXPECT_EQ(x.bitRate, y.bitRate) << x.formatId;
    EXPECT_EQ(x.channels, y.channels) << x.formatId;
  }
}

// The keys of an INI file as QSettings sees them, sorted, "/"-separated.
std::vector<std::string> IniKeys(const std::string& path) {
  QSettings ini(QString::fromStdString(path), QSettings::IniFormat);
  std::vector<std::string> keys;
  for (const QString& key : ini.allKeys()) keys.push_back(key.toStdString());
  std::sort(keys.begin(), keys.end());
  return keys;
}

// Writes `text` into an INI file under [Options] or wherever the text says.
void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Loads a fresh settings object from the file at `path`.
ConversionSettings LoadFrom(const std::string& path, const std::string& documents = "/docs") {
  ConversionSettings settings(documents);
  IniSettingsProvider provider(path);
  SettingsStore(provider).load(settings);
  return settings;
}

bool SaveTo(const std::string& path, const ConversionSettings& settings, unsigned groups) {
  IniSettingsProvider provider(path);
  return SettingsStore(provider).save(settings, groups);
}

bool Contains(const std::vector<std::string>& keys, const std::string& key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

TEST(ConversionSettingsTest, Defaults) {
  const ConversionSettings s("/home/ann/Documents");
  EXPECT_EQ(s.folder, "");
  EXPECT_EQ(s.destOutputFolderOpt, OutputFolderMode::SpecificFolder);
  EXPECT_EQ(s.destSpecifiedFolder, "/home/ann/Documents");
  EXPECT_EQ(s.filterExts, "");
  for (const StoredNumber& number : kNumbers) EXPECT_EQ(number.get(s), number.fresh) << number.name;
  EXPECT_EQ(s.tags, TagSettings{});
  EXPECT_EQ(s.tags.titleAsFileName, 1);
  EXPECT_EQ(s.tags.trackNumType, TrackNumberMode::None);
  EXPECT_EQ(s.tags.customTrackNum, 0);
  EXPECT_TRUE(s.extensionFilter.empty());
  EXPECT_EQ(s.normalizeGain, -1.0f);
  EXPECT_EQ(s.appliedGain, -1.0f);
  ASSERT_EQ(s.formats.size(), 32u);
  ASSERT_NE(FindFormat(s.formats, s.outputFormat), nullptr);

  const ConversionSettings noDocuments("");
  EXPECT_EQ(static_cast<int32_t>(noDocuments.destOutputFolderOpt), 199);
  EXPECT_EQ(noDocuments.destSpecifiedFolder, "");

  // The fuzzers check loaded settings against the store's own ranges: the
  // defaults and every value the table changes to must be in them, and a
  // value off them must be named.
  EXPECT_EQ(SettingsStore::ValuesOutOfRange(s), std::vector<std::string>{});
  ConversionSettings changed = s;
  for (const StoredNumber& number : kNumbers) number.set(changed, number.changed);
  EXPECT_EQ(SettingsStore::ValuesOutOfRange(changed), std::vector<std::string>{});
  changed.volume = 0;
  changed.tags.customTrackNum = 256;
  FindFormat(changed.formats, format_id::kMp3)->channels = 3;
  EXPECT_EQ(SettingsStore::ValuesOutOfRange(changed),
            (std::vector<std::string>{"Volume", "CustomTrackNum", "MP3Channels"}));
}

TEST(ConversionSettingsTest, ExtensionFilter) {
  ConversionSettings s("");
  s.filterExts = "MP3; .Wav  ,,aac";
  s.rebuildExtensionFilter();
  EXPECT_TRUE(s.extensionFilter.empty()) << "filter off";
  s.enableExtFilter = 1;
  s.rebuildExtensionFilter();
  EXPECT_EQ(s.extensionFilter, (std::vector<std::string>{"mp3", ".wav", "aac"}));
  s.filterExts = " ;, ,";
  s.rebuildExtensionFilter();
  EXPECT_TRUE(s.extensionFilter.empty());
  EXPECT_EQ(ParseExtensionFilter("wav,mp3,m4a,aac"),
            (std::vector<std::string>{"wav", "mp3", "m4a", "aac"}));
  EXPECT_EQ(ParseExtensionFilter("FLAC"), (std::vector<std::string>{"flac"}));
}

TEST(SettingsStoreTest, EveryValueSurvivesARoundTrip) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  const ConversionSettings changed = ChangedSettings();
  ASSERT_TRUE(SaveTo(path, changed, kSaveWindow | kSaveSourceFolder | kSaveOptions));

  const ConversionSettings loaded = LoadFrom(path);
  ExpectSameStoredValues(loaded, changed);
  // The filter is rebuilt from the loaded text.
  EXPECT_EQ(loaded.extensionFilter, (std::vector<std::string>{"mp3", ".wav", "aac"}));

  // The values sit under their documented names and groups.
  const auto keys = IniKeys(path);
  for (const char* key :
       {"Options/MP3BitRate", "Options/AACDEVICECodecID", "Options/ALACChannels",
        "Options/M4AAutoEncParam", "Options/3G2SampleRate", "Options/DestOutputFolderOpt",
        "Options/OutputFiles2MyDocuments", "Options/EnableDTSForCDA", "Options/ID3TagType",
        "Options/AMRWBMode", "Options/ID3/Title", "Options/ID3/TrackNumType",
        "Options/TransferPictures", "Options/WriteReplayGain", "Options/LoudnessTarget"}) {
    EXPECT_TRUE(Contains(keys, key)) << key;
  }
}

TEST(SettingsStoreTest, TagsSaveAndLoadOnTheirOwn) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  const TagSettings tags = ChangedSettings().tags;
  {
    IniSettingsProvider provider(path);
    EXPECT_TRUE(SettingsStore(provider).saveTags(tags));
  }
  IniSettingsProvider provider(path);
  TagSettings loaded;
  EXPECT_TRUE(SettingsStore(provider).loadTags(loaded));
  EXPECT_EQ(loaded, tags);

  TempDir empty;
  IniSettingsProvider none(empty.File("none.conf"));
  TagSettings untouched;
  untouched.title = "kept";
  EXPECT_FALSE(SettingsStore(none).loadTags(untouched));
  EXPECT_EQ(untouched.title, "kept");
}

TEST(SettingsStoreTest, MissingOrBrokenFilesLeaveTheDefaults) {
  TempDir dir;
  const ConversionSettings defaults("/docs");

  const std::string missing = dir.File("missing.conf");
  ExpectSameStoredValues(LoadFrom(missing), defaults);
  EXPECT_FALSE(std::filesystem::exists(missing)) << "loading creates no file";

  const std::string garbage = dir.File("garbage.conf");
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<uint8_t>((i * 7919 + 13) % 251));
  test::WriteFile(garbage, bytes);
  ExpectSameStoredValues(LoadFrom(garbage), defaults);

  // A folder where the file should be cannot be read.
  const std::string folder = dir.File("folder.conf");
  std::filesystem::create_directory(folder);
  ExpectSameStoredValues(LoadFrom(folder), defaults);
}

// A FIFO or a device where the settings file should be is never opened: the
// defaults serve, the reason is given, and nothing is written there.
TEST(SettingsStoreTest, ASettingsFileThatIsNoRegularFileIsNeverOpened) {
  TempDir dir;
  const std::string fifo = dir.File("fifo.conf");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    auto loaded = std::async(std::launch::async, [&path] {
      ConversionSettings settings("/docs");
      IniSettingsProvider provider(path);
      SettingsStore store(provider);
      store.load(settings);
      const bool saved = store.save(ChangedSettings(), kSaveOptions);
      return std::make_tuple(settings, provider.problem(), saved);
    });
    if (loaded.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
      close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // free the blocked reader
      FAIL() << "blocked on " << path;
    }
    const auto [settings, problem, saved] = loaded.get();
    ExpectSameStoredValues(settings, ConversionSettings("/docs"));
    EXPECT_NE(problem.find("Not a regular file"), std::string::npos) << problem;
    EXPECT_FALSE(saved);
  }
  struct stat info {};
  ASSERT_EQ(stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the FIFO was replaced";
  EXPECT_EQ(IniSettingsProvider(dir.File("missing.conf")).problem(), "");
}

TEST(SettingsStoreTest, UnusableValuesKeepTheFieldsAsTheyAre) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  WriteText(path,
            "[Options]\n"
            "Volume=loud\n"
            "SkipLength=99999999999\n"
            "ConvertLength=1200\n"
            "FilterExts=wav,mp3\n"
            "EnableExtFilter=1\n"
            "TargetExistsOpt=44\n"
            "ID3\\Comment=Live,  in Rome, 1999\n");
  const ConversionSettings s = LoadFrom(path);
  EXPECT_EQ(s.volume, 100);
  EXPECT_EQ(s.skipLength, 0);
  EXPECT_EQ(s.convertLength, 1200);
  // An unquoted list in a hand-edited file is still the one text.
  EXPECT_EQ(s.filterExts, "wav,mp3");
  EXPECT_EQ(s.tags.comment, "Live,  in Rome, 1999") << "the blanks after the commas stay";
  EXPECT_EQ(s.extensionFilter, (std::vector<std::string>{"wav", "mp3"}));
  // A code the option does not have reads as the default.
  EXPECT_EQ(s.targetExistsOpt, TargetExistsPolicy::Rename);
}

std::string Text(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadFile(path);
  return {bytes.begin(), bytes.end()};
}

// Every stored number outside what its value may take reads as the default:
// the loaded settings save exactly as fresh ones do.
TEST(SettingsStoreTest, EveryOutOfRangeValueReadsAsItsDefault) {
  TempDir dir;
  const std::string fresh = dir.File("fresh.conf");
  const unsigned all = kSaveWindow | kSaveSourceFolder | kSaveOptions;
  ASSERT_TRUE(SaveTo(fresh, ConversionSettings("/docs"), all));
  const std::string expected = Text(fresh);
  const char* const edits[] = {
      "OptStartPageIndex=-1",
      "DestOutputFolderOpt=200",
      "CreateDirs=2",
      "BrowseOutputFolder=-1",
      "OutputFiles2MyDocuments=7",
      "TargetExistsOpt=12",
      "MonoType=3",
      "DoNotLoadHiddenFiles=2",
      "EnableDTSForCDA=-1",
      "EnableConvertLength=2",
      "EnableSkipLength=9",
      "ConvertLength=-1",
      "SkipLength=-1000",
      "EnableExtFilter=3",
      "Volume=-50",
      "Volume=0",
      "Volume=32768",
      "VolumeType=-1",
      "VolumeType=4",
      "ID3TagType=3",
      "WMAAutoEncParam=2",
      "WMABitRate=0",
      "WMASampleRate=-44100",
      "WMAChannels=6",
      "AMRMode=8",
      "AMRWBMode=9",
      "AMRDTX=2",
      "AMRType=2",
      "AWBMode=-1",
      "AWBDTX=5",
      "OPUSVBR=2",
      "WVCompression=4",
      "WVCompression=-1",
      "MP3AutoEncParam=2",
      "MP3SampleRate=-1",
      "MP3BitRate=-128000",
      "MP3Channels=3",
      "ID3\\TitleAsFileName=2",
      "ID3\\TrackNumType=3",
      "ID3\\CustomTrackNum=300",
      "ID3\\CustomTrackNum=-1",
  };
  for (const char* edit : edits) {
    SCOPED_TRACE(edit);
    const std::string edited = dir.File("edited.conf");
    WriteText(edited, std::string("[Options]\n") + edit + "\n");
    const std::string resaved = dir.File("resaved.conf");
    std::filesystem::remove(resaved);
    ASSERT_TRUE(SaveTo(resaved, LoadFrom(edited), all));
    EXPECT_EQ(Text(resaved), expected);
  }
}

TEST(SettingsStoreTest, WmaChannelsOtherThanOneOrTwoLoadAsTwo) {
  TempDir dir;
  for (int32_t stored : {0, 6, -1, 1, 2}) {
    const std::string path = dir.File("wma" + std::to_string(stored) + ".conf");
    WriteText(path, "[Options]\nWMAChannels=" + std::to_string(stored) + "\n");
    const int32_t expected = (stored == 1 || stored == 2) ? stored : 2;
    EXPECT_EQ(LoadFrom(path).wmaChannels, expected) << stored;
  }
}

TEST(SettingsStoreTest, EmptyAndMissingTagTextsLoadEmpty) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  WriteText(path, "[Options]\nID3\\Title=\nID3\\TitleAsFileName=0\n");
  IniSettingsProvider provider(path);
  TagSettings tags;
  tags.title = "old title";
  tags.artist = "old artist";
  ASSERT_TRUE(SettingsStore(provider).loadTags(tags));
  EXPECT_EQ(tags.title, "");
  EXPECT_EQ(tags.artist, "");
  EXPECT_EQ(tags.titleAsFileName, 0);
}

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

TEST(SettingsStoreTest, StoredFoldersAreAbsolutePathsLinuxAccepts) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  const std::string longest = "/" + std::string(4094, 'a');  // 4095 bytes
  const struct {
    std::string stored;
    bool taken;
  } cases[] = {
      {longest, true},
      {longest + "a", false},
      // Bytes count, not characters: 2048 two-byte letters are too long.
      {"/" + Repeat("\xC3\xA9", 2047), true},
      {"/" + Repeat("\xC3\xA9", 2048), false},
      {"   ", false},
      {"music/out", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.substr(0, 20));
    ConversionSettings s("/docs");
    s.folder = c.stored;
    s.destSpecifiedFolder = c.stored;
    ASSERT_TRUE(SaveTo(path, s, kSaveSourceFolder | kSaveOptions));
    const ConversionSettings loaded = LoadFrom(path);
    EXPECT_EQ(loaded.destSpecifiedFolder, c.taken ? c.stored : "/docs");
    EXPECT_EQ(loaded.folder, c.taken ? c.stored : ConversionSettings("/docs").folder);
  }
}

TEST(SettingsStoreTest, SaveGroups) {
  TempDir dir;
  const ConversionSettings changed = ChangedSettings();

  const std::string nothing = dir.File("nothing.conf");
  EXPECT_FALSE(SaveTo(nothing, changed, 0));
  EXPECT_FALSE(std::filesystem::exists(nothing));

  const std::string window = dir.File("window.conf");
  EXPECT_TRUE(SaveTo(window, changed, kSaveWindow));
  EXPECT_EQ(IniKeys(window),
            (std::vector<std::string>{"Options/OptStartPageIndex", "Options/OutputFormat"}));
  const ConversionSettings loaded = LoadFrom(window);
  EXPECT_EQ(loaded.outputFormat, 6500);
  EXPECT_EQ(loaded.optStartPageIndex, 17);

  const std::string folder = dir.File("folder.conf");
  EXPECT_TRUE(SaveTo(folder, changed, kSaveSourceFolder));
  EXPECT_EQ(IniKeys(folder), (std::vector<std::string>{"Options/Folder"}));

  const std::string options = dir.File("options.conf");
  EXPECT_TRUE(SaveTo(options, changed, kSaveOptions));
  const auto keys = IniKeys(options);
  EXPECT_FALSE(Contains(keys, "Options/Folder"));
  EXPECT_FALSE(Contains(keys, "Options/OutputFormat"));
  EXPECT_FALSE(Contains(keys, "Options/OptStartPageIndex"));
  EXPECT_FALSE(Contains(keys, "Options/FirstRun"));
  EXPECT_TRUE(Contains(keys, "Options/ID3/Copyright"));
  // 37 option values, 27 rows of five encoding values and 11 tag values.
  EXPECT_EQ(keys.size(), 37u + 27u * 5u + 11u);
}

TEST(SettingsStoreTest, AmrAndWindowsMediaRowsStoreNoEncodingValues) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  ASSERT_TRUE(SaveTo(path, ChangedSettings(), kSaveOptions));
  int codecIds = 0;
  for (const std::string& key : IniKeys(path)) {
    if (key.ends_with("CodecID")) ++codecIds;
    for (const char* prefix : {"AMR", "AWB", "WMA", "WMV", "ASF"}) {
      for (const char* suffix : {"AutoEncParam", "CodecID", "SampleRate", "BitRate", "Channels"}) {
        if (std::string(prefix) == "WMA" && std::string(suffix) != "CodecID") continue;
        EXPECT_NE(key, std::string("Options/") + prefix + suffix);
      }
    }
  }
  EXPECT_EQ(codecIds, 27);
  // Stored values under those names are not read into the rows either.
  const std::string edited = dir.File("edited.conf");
  WriteText(edited, "[Options]\nAMRCodecID=5\nWMVSampleRate=8000\n");
  const ConversionSettings s = LoadFrom(edited);
  EXPECT_EQ(FindFormat(s.formats, 5500)->codecId, 0);
  EXPECT_EQ(FindFormat(s.formats, 7200)->sampleRate, 0);
}

TEST(SettingsStoreTest, UnknownOutputFormatSelectsTheFirstRow) {
  TempDir dir;
  const std::string unknown = dir.File("unknown.conf");
  WriteText(unknown, "[Options]\nOutputFormat=9999\nVolume=50\n");
  const ConversionSettings s = LoadFrom(unknown);
  EXPECT_EQ(s.outputFormat, s.formats.front().formatId);
  EXPECT_EQ(s.volume, 50);
  const std::string known = dir.File("known.conf");
  WriteText(known, "[Options]\nOutputFormat=5600\n");
  EXPECT_EQ(LoadFrom(known).outputFormat, 5600);
}

// A codec id the row does not offer reads as the row's default codec, with
// one warning; the row's other values load as stored.
TEST(SettingsStoreTest, UnknownCodecIdReadsAsTheDefaultWithAWarning) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  WriteText(path, "[Options]\nMP3CodecID=12345\nMP3BitRate=192000\n");
  const ConversionSettings s = LoadFrom(path);
  const OutputFormat& mp3 = *FindFormat(s.formats, 1000);
  EXPECT_EQ(mp3.codecId, FindFormat(ConversionSettings("/docs").formats, 1000)->codecId);
  EXPECT_NE(FindCodecChoice(mp3, mp3.codecId), nullptr);
  EXPECT_EQ(mp3.bitRate, 192000);
  ASSERT_EQ(s.loadWarnings.size(), 1u);
  EXPECT_NE(s.loadWarnings[0].find("12345 (MP3CodecID)"), std::string::npos);
  EXPECT_EQ(FindFormat(s.formats, 1100)->bitRate, 128000) << "other rows keep the catalog";
}

TEST(SettingsStoreTest, FirstRunIsTrueOnce) {
  TempDir dir;
  const std::string path = dir.File("quillo.conf");
  {
    IniSettingsProvider provider(path);
    EXPECT_TRUE(SettingsStore(provider).checkFirstRun());
  }
  {
    IniSettingsProvider provider(path);
    EXPECT_FALSE(SettingsStore(provider).checkFirstRun());
  }
  const std::string again = dir.File("again.conf");
  WriteText(again, "[Options]\nFirstRun=1\n");
  IniSettingsProvider provider(again);
  SettingsStore store(provider);
  EXPECT_TRUE(store.checkFirstRun());
  EXPECT_FALSE(store.checkFirstRun());
}

TEST(SettingsStoreTest, SaveThatCannotWriteReportsFailure) {
  TempDir dir;
  // The settings folder would have to be made below a regular file.
  WriteText(dir.File("blocker"), "x");
  const std::string path = dir.File("blocker/Quillo 3/quillo.conf");
  EXPECT_FALSE(SaveTo(path, ChangedSettings(), kSaveOptions));
  EXPECT_FALSE(std::filesystem::exists(path));
}

// The settings file is the user's document: what is not a settings file of
// ours is never written, a link is followed to the file it names, and a save
// replaces the file whole with its owner and mode kept, leaving nothing else
// behind.
TEST(SettingsStoreTest, OnlyASettingsFileIsEverSavedOver) {
  const mode_t umaskNow = umask(0);
  umask(umaskNow);
  const std::string settings = "[Options]\nVolume=50\n";
  struct FileCase {
    const char* name;
    const char* file;     // the file made; one ending in .flac is a short FLAC
    const char* text;     // its text; null: no file
    mode_t made;          // its mode
    const char* link;     // what quillo.conf links to ('/': below the folder); null: none
    int32_t volume;       // as loaded
    const char* problem;  // part of the warning, or "" for none
    bool saves;
    mode_t mode;  // of the target afterwards; 0 for what a new file gets
    bool asRoot;  // another user's file, which only root may save
  };
  const std::string typo = settings + "[ID3\nTitle=x\n";
  const FileCase cases[] = {
      {"missing file", "quillo.conf", nullptr, 0, nullptr, 100, "", true, 0, false},
      {"link to a settings file", "real.conf", settings.c_str(), 0600, "linked/real.conf", 50, "",
       true, 0600, false},
      {"another user's file", "quillo.conf", settings.c_str(), 0640, nullptr, 50, "", true, 0640,
       true},
      {"link to a non-settings file", "passwd", "root:x:0:0:root:/root:/bin/bash\n", 0644,
       "/passwd", 100, "holds none of Quillo's settings", false, 0644, false},
      {"FLAC given as settings", "song.flac", "", 0644, nullptr, 100, "binary data", false, 0644,
       false},
      {"broken bytes", "quillo.conf", "[Options\n\x01\x02 garbage = = \n[[[\n", 0644, nullptr, 100,
       "binary data", false, 0644, false},
      {"read-only file", "quillo.conf", settings.c_str(), 0444, nullptr, 50, "", false, 0444,
       false},
      {"typo", "quillo.conf", typo.c_str(), 0644, nullptr, 50, "cannot be read", false, 0644,
       false},
      {"over 1 MiB", "quillo.conf", settings.c_str(), 0644, nullptr, 100, "larger than 1 MiB",
       false, 0644, false},
  };
  const ConversionSettings changed = ChangedSettings();
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.asRoot && geteuid() != 0) continue;
    TempDir dir;
    const std::string target = dir.File(c.file);
    if (std::string(c.file).ends_with(".flac")) {
      ASSERT_TRUE(test::MakeMedia("-f lavfi -i sine=duration=0.2", target));
    } else if (c.text != nullptr) {
      WriteText(target, c.text);
    }
    if (c.text != nullptr) chmod(target.c_str(), c.made);
    ASSERT_TRUE(!c.asRoot || chown(target.c_str(), 65534, 65534) == 0);
    if (std::string(c.name) == "over 1 MiB") std::filesystem::resize_file(target, 200u << 20);
    const std::string given = c.link != nullptr ? dir.File("quillo.conf") : target;
    if (c.link != nullptr) {
      std::filesystem::create_directory_symlink(".", dir.File("linked"));
      std::filesystem::create_symlink(*c.link == '/' ? dir.path().string() + c.link : c.link,
                                      given);
    }
    struct stat before {};
    const bool existed = stat(target.c_str(), &before) == 0;
    const std::string bytes = existed && before.st_size < (1 << 20) ? Text(target) : "";
    const auto entries = [&dir] {
      return std::distance(std::filesystem::directory_iterator(dir.path()), {});
    };
    const auto entriesBefore = entries();

    ConversionSettings loaded("/docs");
    IniSettingsProvider provider(given);
    SettingsStore store(provider);
    store.load(loaded);
    EXPECT_EQ(loaded.volume, c.volume);
    if (*c.problem == '\0') {
      EXPECT_EQ(provider.problem(), "");
    } else {
      EXPECT_NE(provider.problem().find(c.problem), std::string::npos) << provider.problem();
      EXPECT_NE(provider.problem().find(given), std::string::npos) << provider.problem();
    }

    EXPECT_EQ(store.save(changed, kSaveWindow | kSaveSourceFolder | kSaveOptions), c.saves);
    if (c.saves) {
      ExpectSameStoredValues(LoadFrom(given), changed);
      EXPECT_EQ(provider.saveError(), "");
    } else {
      EXPECT_NE(provider.saveError().find(given), std::string::npos) << provider.saveError();
      EXPECT_TRUE(bytes.empty() || Text(target) == bytes) << "the file was changed";
    }
    struct stat after {};
    ASSERT_EQ(stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, c.mode != 0 ? c.mode : 0666 & ~umaskNow);
    if (existed) {
      EXPECT_EQ(after.st_size, c.saves ? after.st_size : before.st_size);
      EXPECT_EQ(after.st_uid, before.st_uid);
      EXPECT_EQ(after.st_gid, before.st_gid);
    }
    EXPECT_EQ(std::filesystem::is_symlink(given), c.link != nullptr);
    // No lock or temporary file stays beside it.
    EXPECT_EQ(entries(), entriesBefore + (existed ? 0 : 1));
  }
}

// Two programs saving at once: a reader meanwhile and the file at the end
// see one writer's whole save, never a part or a mixture.
TEST(SettingsStoreTest, TwoWritersAtOnceLeaveOneWholeSave) {
  TempDir dir;
  const unsigned all = kSaveWindow | kSaveSourceFolder | kSaveOptions;
  ConversionSettings writers[2] = {ChangedSettings(), ConversionSettings("/docs")};
  writers[1].tags.title = "the second writer";
  std::string expected[2];
  for (int i = 0; i < 2; ++i) {
    const std::string alone = dir.File("alone" + std::to_string(i) + ".conf");
    ASSERT_TRUE(SaveTo(alone, writers[i], all));
    expected[i] = Text(alone);
  }
  const std::string path = dir.File("quillo.conf");
  ASSERT_TRUE(SaveTo(path, writers[0], all));
  pid_t children[2];
  for (int i = 0; i < 2; ++i) {
    children[i] = fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) {
      bool ok = true;
      for (int round = 0; round < 20; ++round) ok = SaveTo(path, writers[i], all) && ok;
      _exit(ok ? 0 : 1);
    }
  }
  int exited[2] = {-1, -1};
  while (exited[0] < 0 || exited[1] < 0) {
    const std::string now = Text(path);
    ASSERT_TRUE(now == expected[0] || now == expected[1]) << now.size() << " bytes";
    for (int i = 0; i < 2; ++i) {
      int status = 0;
      if (exited[i] < 0 && waitpid(children[i], &status, WNOHANG) == children[i])
        exited[i] = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
  }
  EXPECT_EQ(exited[0], 0);
  EXPECT_EQ(exited[1], 0);
  const std::string last = Text(path);
  EXPECT_TRUE(last == expected[0] || last == expected[1]);
  EXPECT_FALSE(std::filesystem::exists(path + ".lock"));
}

}  // namespace
}  // namespace quillo
