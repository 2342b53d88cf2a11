#include "settings/SettingsStore.h"

#include <optional>
#include <string>
#include <type_traits>

#include "catalog/Catalog.h"

namespace quillo {
namespace {

constexpr const char* kOptions = SettingsStore::kOptionsGroup;
constexpr const char* kTags = SettingsStore::kTagGroup;

// A stored folder is an absolute path no longer than Linux takes (PATH_MAX
// less its terminating zero); anything else keeps the default, as a
// shortened or relative path would name another folder.
constexpr std::size_t kMaxFolderBytes = 4095;

// Reads a number into an int32_t or a coded enumeration; a missing value
// leaves the field as it is.
template <class Field>
void ReadNumber(const SettingsProvider& provider, const char* name, Field& field) {
  if (const auto value = provider.readNumber(kOptions, name)) field = static_cast<Field>(*value);
}

template <class Field>
void WriteNumber(SettingsProvider& provider, const char* group, const char* name, Field field) {
  provider.writeNumber(group, name, static_cast<int32_t>(field));
}

void ReadFolder(const SettingsProvider& provider, const char* name, std::string& field) {
  if (auto value = provider.readText(kOptions, name);
      value && !value->empty() && value->front() == '/' && value->size() <= kMaxFolderBytes) {
    field = std::move(*value);
  }
}

// The per-format values a row keeps under its prefix, e.g. MP3BitRate.
struct FormatValue {
  const char* suffix;
  int32_t OutputFormat::*field;
};
constexpr FormatValue kFormatValues[] = {
    {"AutoEncParam", &OutputFormat::autoEncParam}, {"CodecID", &OutputFormat::codecId},
    {"SampleRate", &OutputFormat::sampleRate},     {"BitRate", &OutputFormat::bitRate},
    {"Channels", &OutputFormat::channels},
};

void ReadFormatValues(const SettingsProvider& provider, std::vector<OutputFormat>& rows) {
  for (OutputFormat& row : rows) {
    const std::optional<std::string> prefix = SettingsPrefix(row);
    if (!prefix) continue;
    for (const FormatValue& value : kFormatValues) {
      ReadNumber(provider, (*prefix + value.suffix).c_str(), row.*value.field);
    }
  }
}

void WriteFormatValues(SettingsProvider& provider, const std::vector<OutputFormat>& rows) {
  for (const OutputFormat& row : rows) {
    const std::optional<std::string> prefix = SettingsPrefix(row);
    if (!prefix) continue;
    for (const FormatValue& value : kFormatValues) {
      provider.writeNumber(kOptions, *prefix + value.suffix, row.*value.field);
    }
  }
}

// A stored empty text and a missing one both give an empty tag.
std::string ReadTagText(const SettingsProvider& provider, const char* name) {
  return provider.readText(kTags, name).value_or(std::string());
}

template <class Field>
void ReadTagNumber(const SettingsProvider& provider, const char* name, Field& field) {
  if (const auto value = provider.readNumber(kTags, name)) field = static_cast<Field>(*value);
}

}  // namespace

void SettingsStore::load(ConversionSettings& s) const {
  const SettingsProvider& p = provider_;
  if (p.hasGroup(kOptions)) {
    ReadFolder(p, "Folder", s.folder);
    ReadNumber(p, "DestOutputFolderOpt", s.destOutputFolderOpt);
    ReadFolder(p, "DestSpecifiedFolder", s.destSpecifiedFolder);
    ReadNumber(p, "CreateDirs", s.createDirs);
    ReadNumber(p, "BrowseOutputFolder", s.browseOutputFolder);
    ReadNumber(p, "OutputFiles2MyDocuments", s.outputFiles2MyDocuments);
    ReadNumber(p, "TargetExistsOpt", s.targetExistsOpt);
    ReadNumber(p, "MonoType", s.monoType);
    ReadNumber(p, "DoNotLoadHiddenFiles", s.doNotLoadHiddenFiles);
    ReadNumber(p, "EnableDTSForCDA", s.enableDtsForCda);
    ReadNumber(p, "EnableConvertLength", s.enableConvertLength);
    ReadNumber(p, "EnableSkipLength", s.enableSkipLength);
    ReadNumber(p, "ConvertLength", s.convertLength);
    ReadNumber(p, "SkipLength", s.skipLength);
    ReadNumber(p, "EnableExtFilter", s.enableExtFilter);
    if (auto text = p.readText(kOptions, "FilterExts")) s.filterExts = std::move(*text);
    ReadNumber(p, "Volume", s.volume);
    ReadNumber(p, "VolumeType", s.volumeType);
    ReadNumber(p, "ID3TagType", s.id3TagType);
    // A stored format that names no catalog row (an edited or foreign file)
    // would leave nothing selected; the previous choice stays instead.
    if (const auto format = p.readNumber(kOptions, "OutputFormat");
        format && FindFormat(s.formats, *format) != nullptr) {
      s.outputFormat = *format;
    }
    ReadFormatValues(p, s.formats);
    ReadNumber(p, "WMAAutoEncParam", s.wmaAutoEncParam);
    ReadNumber(p, "WMABitRate", s.wmaBitRate);
    ReadNumber(p, "WMASampleRate", s.wmaSampleRate);
    ReadNumber(p, "WMAChannels", s.wmaChannels);
    if (s.wmaChannels != 1 && s.wmaChannels != 2) s.wmaChannels = 2;
    ReadNumber(p, "AMRMode", s.amrMode);
    ReadNumber(p, "AMRWBMode", s.amrWbMode);
    ReadNumber(p, "AMRDTX", s.amrDtx);
    ReadNumber(p, "AMRType", s.amrType);
    ReadNumber(p, "AWBMode", s.awbMode);
    ReadNumber(p, "AWBDTX", s.awbDtx);
    ReadNumber(p, "OptStartPageIndex", s.optStartPageIndex);
  }
  s.rebuildExtensionFilter();
  loadTags(s.tags);
}

bool SettingsStore::loadTags(TagSettings& t) const {
  const SettingsProvider& p = provider_;
  if (!p.hasGroup(kTags)) return false;
  t.title = ReadTagText(p, "Title");
  t.artist = ReadTagText(p, "Artist");
  t.album = ReadTagText(p, "Album");
  t.year = ReadTagText(p, "Year");
  t.genre = ReadTagText(p, "Genre");
  t.comment = ReadTagText(p, "Comment");
  t.composer = ReadTagText(p, "Composer");
  t.copyright = ReadTagText(p, "Copyright");
  ReadTagNumber(p, "TitleAsFileName", t.titleAsFileName);
  ReadTagNumber(p, "TrackNumType", t.trackNumType);
  ReadTagNumber(p, "CustomTrackNum", t.customTrackNum);
  return true;
}

bool SettingsStore::save(const ConversionSettings& s, unsigned groups) {
  if ((groups & (kSaveWindow | kSaveSourceFolder | kSaveOptions)) == 0) return false;
  SettingsProvider& p = provider_;
  if (groups & kSaveWindow) {
    WriteNumber(p, kOptions, "OutputFormat", s.outputFormat);
    WriteNumber(p, kOptions, "OptStartPageIndex", s.optStartPageIndex);
  }
  if (groups & kSaveSourceFolder) p.writeText(kOptions, "Folder", s.folder);
  if (groups & kSaveOptions) {
    WriteNumber(p, kOptions, "DestOutputFolderOpt", s.destOutputFolderOpt);
    p.writeText(kOptions, "DestSpecifiedFolder", s.destSpecifiedFolder);
    WriteNumber(p, kOptions, "CreateDirs", s.createDirs);
    WriteNumber(p, kOptions, "BrowseOutputFolder", s.browseOutputFolder);
    WriteNumber(p, kOptions, "OutputFiles2MyDocuments", s.outputFiles2MyDocuments);
    WriteNumber(p, kOptions, "TargetExistsOpt", s.targetExistsOpt);
    WriteNumber(p, kOptions, "MonoType", s.monoType);
    WriteNumber(p, kOptions, "DoNotLoadHiddenFiles", s.doNotLoadHiddenFiles);
    WriteNumber(p, kOptions, "EnableDTSForCDA", s.enableDtsForCda);
    WriteNumber(p, kOptions, "EnableConvertLength", s.enableConvertLength);
    WriteNumber(p, kOptions, "EnableSkipLength", s.enableSkipLength);
    WriteNumber(p, kOptions, "ConvertLength", s.convertLength);
    WriteNumber(p, kOptions, "SkipLength", s.skipLength);
    WriteNumber(p, kOptions, "EnableExtFilter", s.enableExtFilter);
    p.writeText(kOptions, "FilterExts", s.filterExts);
    WriteNumber(p, kOptions, "Volume", s.volume);
    WriteNumber(p, kOptions, "VolumeType", s.volumeType);
    WriteNumber(p, kOptions, "ID3TagType", s.id3TagType);
    WriteNumber(p, kOptions, "WMAAutoEncParam", s.wmaAutoEncParam);
    WriteNumber(p, kOptions, "WMABitRate", s.wmaBitRate);
    WriteNumber(p, kOptions, "WMASampleRate", s.wmaSampleRate);
    WriteNumber(p, kOptions, "WMAChannels", s.wmaChannels);
    WriteFormatValues(p, s.formats);
    WriteNumber(p, kOptions, "AMRMode", s.amrMode);
    WriteNumber(p, kOptions, "AMRWBMode", s.amrWbMode);
    WriteNumber(p, kOptions, "AMRDTX", s.amrDtx);
    WriteNumber(p, kOptions, "AMRType", s.amrType);
    WriteNumber(p, kOptions, "AWBMode", s.awbMode);
    WriteNumber(p, kOptions, "AWBDTX", s.awbDtx);
    writeTags(s.tags);
  }
  return p.commit();
}

bool SettingsStore::saveTags(const TagSettings& tags) {
  writeTags(tags);
  return provider_.commit();
}

void SettingsStore::writeTags(const TagSettings& t) {
  SettingsProvider& p = provider_;
  p.writeText(kTags, "Title", t.title);
  p.writeText(kTags, "Artist", t.artist);
  p.writeText(kTags, "Album", t.album);
  p.writeText(kTags, "Year", t.year);
  p.writeText(kTags, "Genre", t.genre);
  p.writeText(kTags, "Comment", t.comment);
  p.writeText(kTags, "Composer", t.composer);
  p.writeText(kTags, "Copyright", t.copyright);
  WriteNumber(p, kTags, "TitleAsFileName", t.titleAsFileName);
  WriteNumber(p, kTags, "TrackNumType", t.trackNumType);
  WriteNumber(p, kTags, "CustomTrackNum", t.customTrackNum);
}

bool SettingsStore::checkFirstRun() {
  const int32_t firstRun = provider_.readNumber(kOptions, "FirstRun").value_or(1);
  if (firstRun == 0) return false;
  provider_.writeNumber(kOptions, "FirstRun", 0);
  provider_.commit();
  return true;
}

}  // namespace quillo
