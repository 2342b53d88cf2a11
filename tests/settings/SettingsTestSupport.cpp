#include "tests/settings/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QString>
#include <algorithm>
#include <fstream>

#include "catalog/Catalog.h"

namespace quillo::test {

ConversionSettings ChangedSettings() {
  ConversionSettings s("/home/ann/Documents");
  s.folder = "/home/ann/Music/ünïcode folder";
  s.destOutputFolderOpt = OutputFolderMode::SameAsSource;
  s.destSpecifiedFolder = "/data/out, with comma";
  s.createDirs = 1;
  s.browseOutputFolder = 0;
  s.outputFiles2MyDocuments = 0;
  s.targetExistsOpt = TargetExistsPolicy::Skip;
  s.monoType = MonoMixMode::RightOnly;
  s.doNotLoadHiddenFiles = 1;
  s.enableDtsForCda = 1;
  s.enableConvertLength = 1;
  s.enableSkipLength = 1;
  s.convertLength = 61000;
  s.skipLength = 1500;
  s.enableExtFilter = 1;
  s.filterExts = "MP3; .Wav  ,,aac";
  s.volume = 250;
  s.volumeType = VolumeMode::Manual;
  s.id3TagType = TagMode::Custom;
  s.transferPictures = 0;
  s.writeReplayGain = 1;
  s.loudnessTarget = -23;
  s.outputFormat = 6500;
  s.wmaAutoEncParam = 0;
  s.wmaBitRate = 64000;
  s.wmaSampleRate = 22050;
  s.wmaChannels = 1;
  s.amrMode = 3;
  s.amrWbMode = 8;
  s.amrDtx = 1;
  s.amrType = AmrBand::Wide;
  s.awbMode = 2;
  s.awbDtx = 1;
  s.optStartPageIndex = 17;
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

void ExpectSameStoredValues(const ConversionSettings& a, const ConversionSettings& e) {
  EXPECT_EQ(a.folder, e.folder);
  EXPECT_EQ(a.destOutputFolderOpt, e.destOutputFolderOpt);
  EXPECT_EQ(a.destSpecifiedFolder, e.destSpecifiedFolder);
  EXPECT_EQ(a.createDirs, e.createDirs);
  EXPECT_EQ(a.browseOutputFolder, e.browseOutputFolder);
  EXPECT_EQ(a.outputFiles2MyDocuments, e.outputFiles2MyDocuments);
  EXPECT_EQ(a.targetExistsOpt, e.targetExistsOpt);
  EXPECT_EQ(a.monoType, e.monoType);
  EXPECT_EQ(a.doNotLoadHiddenFiles, e.doNotLoadHiddenFiles);
  EXPECT_EQ(a.enableDtsForCda, e.enableDtsForCda);
  EXPECT_EQ(a.enableConvertLength, e.enableConvertLength);
  EXPECT_EQ(a.enableSkipLength, e.enableSkipLength);
  EXPECT_EQ(a.convertLength, e.convertLength);
  EXPECT_EQ(a.skipLength, e.skipLength);
  EXPECT_EQ(a.enableExtFilter, e.enableExtFilter);
  EXPECT_EQ(a.filterExts, e.filterExts);
  EXPECT_EQ(a.volume, e.volume);
  EXPECT_EQ(a.volumeType, e.volumeType);
  EXPECT_EQ(a.id3TagType, e.id3TagType);
  EXPECT_EQ(a.transferPictures, e.transferPictures);
  EXPECT_EQ(a.writeReplayGain, e.writeReplayGain);
  EXPECT_EQ(a.loudnessTarget, e.loudnessTarget);
  EXPECT_EQ(a.outputFormat, e.outputFormat);
  EXPECT_EQ(a.wmaAutoEncParam, e.wmaAutoEncParam);
  EXPECT_EQ(a.wmaBitRate, e.wmaBitRate);
  EXPECT_EQ(a.wmaSampleRate, e.wmaSampleRate);
  EXPECT_EQ(a.wmaChannels, e.wmaChannels);
  EXPECT_EQ(a.amrMode, e.amrMode);
  EXPECT_EQ(a.amrWbMode, e.amrWbMode);
  EXPECT_EQ(a.amrDtx, e.amrDtx);
  EXPECT_EQ(a.amrType, e.amrType);
  EXPECT_EQ(a.awbMode, e.awbMode);
  EXPECT_EQ(a.awbDtx, e.awbDtx);
  EXPECT_EQ(a.optStartPageIndex, e.optStartPageIndex);
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

std::vector<std::string> IniKeys(const std::string& path) {
  QSettings ini(QString::fromStdString(path), QSettings::IniFormat);
  std::vector<std::string> keys;
  for (const QString& key : ini.allKeys()) keys.push_back(key.toStdString());
  std::sort(keys.begin(), keys.end());
  return keys;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace quillo::test
