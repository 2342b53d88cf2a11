#include "settings/SettingsStore.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "catalog/Catalog.h"
#include "settings/SettingDescriptions.h"

namespace quillo {
namespace {

constexpr const char* kOptions = SettingsStore::kOptionsGroup;
constexpr const char* kTags = SettingsStore::kTagGroup;

// One stored number of a settings object: its description (name and the
// values it may take), the groups that save it, and how it is read from and
// written to its field. A stored value its description does not allow keeps
// what the field holds (its default, when the settings are loaded at
// start-up).
template <class Settings>
struct NumberValue {
  const SettingDescription& description;
  unsigned groups;
  int32_t (*get)(const Settings&);
  void (*set)(Settings&, int32_t);
};

template <auto Member, class Settings>
NumberValue<Settings> Number(const char* name, SettingPlace place, unsigned groups) {
  return {DescribeSetting(name, place), groups,
          [](const Settings& s) { return static_cast<int32_t>(s.*Member); },
          [](Settings& s, int32_t v) {
            s.*Member = static_cast<std::remove_reference_t<decltype(s.*Member)>>(v);
          }};
}

template <auto Member>
NumberValue<ConversionSettings> Option(const char* name, unsigned groups = kSaveOptions) {
  return Number<Member, ConversionSettings>(name, SettingPlace::Options, groups);
}

template <auto Member>
NumberValue<TagSettings> Tag(const char* name) {
  return Number<Member, TagSettings>(name, SettingPlace::Tags, kSaveOptions);
}

using S = ConversionSettings;

// The "Options" numbers, in the order the file stores them. "OutputFormat"
// is read on its own (a format no row has selects the first row).
const std::vector<NumberValue<S>>& OptionNumbers() {
  static const std::vector<NumberValue<S>> numbers = {
      Option<&S::optStartPageIndex>("OptStartPageIndex", kSaveWindow),
      Option<&S::destOutputFolderOpt>("DestOutputFolderOpt"),
      Option<&S::createDirs>("CreateDirs"),
      Option<&S::browseOutputFolder>("BrowseOutputFolder"),
      Option<&S::outputFiles2MyDocuments>("OutputFiles2MyDocuments"),
      Option<&S::targetExistsOpt>("TargetExistsOpt"),
      Option<&S::monoType>("MonoType"),
      Option<&S::doNotLoadHiddenFiles>("DoNotLoadHiddenFiles"),
      Option<&S::enableDtsForCda>("EnableDTSForCDA"),
      Option<&S::enableConvertLength>("EnableConvertLength"),
      Option<&S::enableSkipLength>("EnableSkipLength"),
      Option<&S::convertLength>("ConvertLength"),
      Option<&S::skipLength>("SkipLength"),
      Option<&S::enableExtFilter>("EnableExtFilter"),
      Option<&S::volume>("Volume"),
      Option<&S::volumeType>("VolumeType"),
      Option<&S::id3TagType>("ID3TagType"),
      Option<&S::transferPictures>("TransferPictures"),
      Option<&S::writeReplayGain>("WriteReplayGain"),
      Option<&S::verifyOutput>("VerifyOutput"),
      Option<&S::writeJoinCue>("WriteJoinCue"),
      Option<&S::loudnessTarget>("LoudnessTarget"),
      Option<&S::loudnessByAlbum>("LoudnessByAlbum"),
      Option<&S::wmaAutoEncParam>("WMAAutoEncParam"),
      Option<&S::wmaBitRate>("WMABitRate"),
      Option<&S::wmaSampleRate>("WMASampleRate"),
      Option<&S::wmaChannels>("WMAChannels"),
      Option<&S::amrMode>("AMRMode"),
      Option<&S::amrWbMode>("AMRWBMode"),
      Option<&S::amrDtx>("AMRDTX"),
      Option<&S::amrType>("AMRType"),
      Option<&S::awbMode>("AWBMode"),
      Option<&S::awbDtx>("AWBDTX"),
      // The encoder options of the Opus and WavPack rows, under their prefixes.
      Option<&S::opusVbr>("OPUSVBR"),
      Option<&S::wavPackCompression>("WVCompression"),
  };
  return numbers;
}

const std::vector<NumberValue<TagSettings>>& TagNumbers() {
  static const std::vector<NumberValue<TagSettings>> numbers = {
      Tag<&TagSettings::titleAsFileName>("TitleAsFileName"),
      Tag<&TagSettings::trackNumType>("TrackNumType"),
      Tag<&TagSettings::customTrackNum>("CustomTrackNum"),
  };
  return numbers;
}

template <class Settings>
void ReadNumbers(const SettingsProvider& provider, const char* group,
                 std::span<const NumberValue<Settings>> values, Settings& settings) {
  for (const NumberValue<Settings>& value : values) {
    const std::optional<int32_t> stored = provider.readNumber(group, value.description.name);
    if (stored && value.description.Allows(*stored)) value.set(settings, *stored);
  }
}

template <class Settings>
void WriteNumbers(SettingsProvider& provider, const char* group, unsigned groups,
                  std::span<const NumberValue<Settings>> values, const Settings& settings) {
  for (const NumberValue<Settings>& value : values)
    if ((value.groups & groups) != 0)
      provider.writeNumber(group, value.description.name, value.get(settings));
}

void ReadFolder(const SettingsProvider& provider, const char* name, std::string& field) {
  if (auto value = provider.readText(kOptions, name);
      value && !value->empty() && value->front() == '/' && value->size() <= kMaxFolderBytes) {
    field = std::move(*value);
  }
}

// The per-format values a row keeps under its prefix, e.g. MP3BitRate.
// A codec the row does not offer shows its first codec on the page; 0 is
// "Auto" for the rate, bit rate and channels.
struct FormatValue {
  const char* suffix;
  int32_t OutputFormat::*field;
};
constexpr FormatValue kFormatValues[] = {
    {"AutoEncParam", &OutputFormat::autoEncParam}, {"CodecID", &OutputFormat::codecId},
    {"SampleRate", &OutputFormat::sampleRate},     {"BitRate", &OutputFormat::bitRate},
    {"Channels", &OutputFormat::channels},
};

bool RowAllows(const FormatValue& value, int32_t number) {
  return DescribeSetting(value.suffix, SettingPlace::Row).Allows(number);
}

// A stored codec id that the row does not offer (an edited or foreign file)
// would fail every file of that format; the row's codec before loading (its
// default) serves instead, and the user is told once.
void ReadFormatValues(const SettingsProvider& provider, std::vector<OutputFormat>& rows,
                      std::vector<std::string>& warnings) {
  for (OutputFormat& row : rows) {
    const std::optional<std::string> prefix = SettingsPrefix(row);
    if (!prefix) continue;
    const int32_t defaultCodec = row.codecId;
    for (const FormatValue& value : kFormatValues) {
      const auto stored = provider.readNumber(kOptions, *prefix + value.suffix);
      if (stored && RowAllows(value, *stored)) row.*value.field = *stored;
    }
    if (FindCodecChoice(row, row.codecId) == nullptr &&
        FindCodecChoice(row, defaultCodec) != nullptr) {
      warnings.push_back("the stored codec id " + std::to_string(row.codecId) + " (" + *prefix +
                         "CodecID) is not one of the format's codecs; its default codec is used");
      row.codecId = defaultCodec;
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

}  // namespace

void SettingsStore::load(ConversionSettings& s) const {
  const SettingsProvider& p = provider_;
  s.loadWarnings.clear();
  if (p.hasGroup(kOptions)) {
    ReadFolder(p, "Folder", s.folder);
    ReadFolder(p, "DestSpecifiedFolder", s.destSpecifiedFolder);
    if (auto text = p.readText(kOptions, "FilterExts")) s.filterExts = std::move(*text);
    if (auto text = p.readText(kOptions, "NamePattern")) s.namePattern = std::move(*text);
    ReadNumbers<S>(p, kOptions, OptionNumbers(), s);
    // A stored format that names no catalog row (an edited or foreign file)
    // selects the first row; the window stores it when it closes.
    if (const auto format = p.readNumber(kOptions, "OutputFormat")) {
      if (FindFormat(s.formats, *format) != nullptr)
        s.outputFormat = *format;
      else if (!s.formats.empty())
        s.outputFormat = s.formats.front().formatId;
    }
    ReadFormatValues(p, s.formats, s.loadWarnings);
  }
  s.rebuildExtensionFilter();
  loadTags(s.tags);
}

bool SettingsStore::loadTags(TagSettings& t) const {
  const SettingsProvider& p = provider_;
  if (!p.hasGroup(kTags)) return false;
  // A stored empty text and a missing one both give "".
  for (const TagText& text : kTagTexts)
    t.*text.field = p.readText(kTags, text.name).value_or(std::string());
  ReadNumbers<TagSettings>(p, kTags, TagNumbers(), t);
  return true;
}

bool SettingsStore::save(const ConversionSettings& s, unsigned groups) {
  if ((groups & (kSaveWindow | kSaveSourceFolder | kSaveOptions)) == 0) return false;
  SettingsProvider& p = provider_;
  if (groups & kSaveWindow) p.writeNumber(kOptions, "OutputFormat", s.outputFormat);
  if (groups & kSaveSourceFolder) p.writeText(kOptions, "Folder", s.folder);
  if (groups & kSaveOptions) {
    p.writeText(kOptions, "DestSpecifiedFolder", s.destSpecifiedFolder);
    p.writeText(kOptions, "FilterExts", s.filterExts);
    p.writeText(kOptions, "NamePattern", s.namePattern);
    WriteFormatValues(p, s.formats);
  }
  WriteNumbers<S>(p, kOptions, groups, OptionNumbers(), s);
  if (groups & kSaveOptions) writeTags(s.tags);
  return p.commit();
}

bool SettingsStore::saveTags(const TagSettings& tags) {
  writeTags(tags);
  return provider_.commit();
}

void SettingsStore::writeTags(const TagSettings& t) {
  SettingsProvider& p = provider_;
  for (const TagText& text : kTagTexts) p.writeText(kTags, text.name, t.*text.field);
  WriteNumbers<TagSettings>(p, kTags, kSaveOptions, TagNumbers(), t);
}

std::vector<std::string> SettingsStore::ValuesOutOfRange(const ConversionSettings& s) {
  std::vector<std::string> names;
  for (const NumberValue<S>& value : OptionNumbers())
    if (!value.description.Allows(value.get(s))) names.emplace_back(value.description.name);
  for (const NumberValue<TagSettings>& value : TagNumbers())
    if (!value.description.Allows(value.get(s.tags))) names.emplace_back(value.description.name);
  for (const OutputFormat& row : s.formats) {
    const std::optional<std::string> prefix = SettingsPrefix(row);
    if (!prefix) continue;
    for (const FormatValue& value : kFormatValues)
      if (!RowAllows(value, row.*value.field)) names.push_back(*prefix + value.suffix);
  }
  return names;
}

bool SettingsStore::checkFirstRun() {
  const int32_t firstRun = provider_.readNumber(kOptions, "FirstRun").value_or(1);
  if (firstRun == 0) return false;
  provider_.writeNumber(kOptions, "FirstRun", 0);
  provider_.commit();
  return true;
}

}  // namespace quillo
