#include "settings/SettingsStore.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "catalog/Catalog.h"

namespace quillo {
namespace {

constexpr const char* kOptions = SettingsStore::kOptionsGroup;
constexpr const char* kTags = SettingsStore::kTagGroup;

// The values a stored number may take: a range, or a list of codes.
struct Allowed {
  int32_t low = 0;
  int32_t high = std::numeric_limits<int32_t>::max();
  std::array<int32_t, 3> codes = {};
  std::size_t codeCount = 0;

  bool Has(int32_t value) const {
    if (codeCount != 0)
      return std::find(codes.begin(), codes.begin() + codeCount, value) !=
             codes.begin() + codeCount;
    return value >= low && value <= high;
  }
};

constexpr Allowed Codes(int32_t a, int32_t b) { return {0, 0, {a, b, 0}, 2}; }
constexpr Allowed Codes(int32_t a, int32_t b, int32_t c) { return {0, 0, {a, b, c}, 3}; }
constexpr Allowed kFlag{0, 1};
constexpr Allowed kNonNegative{};

// One stored number of a settings object: its name, the groups that save
// it, the values it may take, and how it is read from and written to its
// field. A stored value outside `allowed` keeps what the field holds (its
// default, when the settings are loaded at start-up).
template <class Settings>
struct NumberValue {
  const char* name;
  unsigned groups;
  Allowed allowed;
  int32_t (*get)(const Settings&);
  void (*set)(Settings&, int32_t);
};

template <auto Member, class Settings>
constexpr NumberValue<Settings> Number(const char* name, unsigned groups, Allowed allowed) {
  return {name, groups, allowed, [](const Settings& s) { return static_cast<int32_t>(s.*Member); },
          [](Settings& s, int32_t v) {
            s.*Member = static_cast<std::remove_reference_t<decltype(s.*Member)>>(v);
          }};
}

template <auto Member>
constexpr NumberValue<ConversionSettings> Option(const char* name, Allowed allowed,
                                                 unsigned groups = kSaveOptions) {
  return Number<Member, ConversionSettings>(name, groups, allowed);
}

template <auto Member>
constexpr NumberValue<TagSettings> Tag(const char* name, Allowed allowed) {
  return Number<Member, TagSettings>(name, kSaveOptions, allowed);
}

using S = ConversionSettings;

// The "Options" numbers, in the order the file stores them. "OutputFormat"
// is read on its own (a format no row has selects the first row).
const NumberValue<S> kOptionNumbers[] = {
    Option<&S::optStartPageIndex>("OptStartPageIndex", kNonNegative, kSaveWindow),
    Option<&S::destOutputFolderOpt>("DestOutputFolderOpt", Codes(199, 399)),
    Option<&S::createDirs>("CreateDirs", kFlag),
    Option<&S::browseOutputFolder>("BrowseOutputFolder", kFlag),
    Option<&S::outputFiles2MyDocuments>("OutputFiles2MyDocuments", kFlag),
    Option<&S::targetExistsOpt>("TargetExistsOpt", Codes(11, 22, 33)),
    Option<&S::monoType>("MonoType", {0, 2}),
    Option<&S::doNotLoadHiddenFiles>("DoNotLoadHiddenFiles", kFlag),
    Option<&S::enableDtsForCda>("EnableDTSForCDA", kFlag),
    Option<&S::enableConvertLength>("EnableConvertLength", kFlag),
    Option<&S::enableSkipLength>("EnableSkipLength", kFlag),
    Option<&S::convertLength>("ConvertLength", kNonNegative),
    Option<&S::skipLength>("SkipLength", kNonNegative),
    Option<&S::enableExtFilter>("EnableExtFilter", kFlag),
    Option<&S::volume>("Volume", {1, 32767}),
    Option<&S::volumeType>("VolumeType", {0, 3}),
    Option<&S::id3TagType>("ID3TagType", {0, 2}),
    Option<&S::transferPictures>("TransferPictures", kFlag),
    Option<&S::writeReplayGain>("WriteReplayGain", kFlag),
    Option<&S::loudnessTarget>("LoudnessTarget", {-40, -5}),
    Option<&S::wmaAutoEncParam>("WMAAutoEncParam", kFlag),
    Option<&S::wmaBitRate>("WMABitRate", {1000, 10000000}),
    Option<&S::wmaSampleRate>("WMASampleRate", {1000, 768000}),
    Option<&S::wmaChannels>("WMAChannels", {1, 2}),
    Option<&S::amrMode>("AMRMode", {0, 7}),
    Option<&S::amrWbMode>("AMRWBMode", {0, 8}),
    Option<&S::amrDtx>("AMRDTX", kFlag),
    Option<&S::amrType>("AMRType", {0, 1}),
    Option<&S::awbMode>("AWBMode", {0, 8}),
    Option<&S::awbDtx>("AWBDTX", kFlag),
    // The encoder options of the Opus and WavPack rows, under their prefixes.
    Option<&S::opusVbr>("OPUSVBR", kFlag),
    Option<&S::wavPackCompression>("WVCompression", {0, 3}),
};

const NumberValue<TagSettings> kTagNumbers[] = {
    Tag<&TagSettings::titleAsFileName>("TitleAsFileName", kFlag),
    Tag<&TagSettings::trackNumType>("TrackNumType", {0, 2}),
    Tag<&TagSettings::customTrackNum>("CustomTrackNum", {0, 255}),
};

template <class Settings>
void ReadNumbers(const SettingsProvider& provider, const char* group,
                 std::span<const NumberValue<Settings>> values, Settings& settings) {
  for (const NumberValue<Settings>& value : values) {
    const std::optional<int32_t> stored = provider.readNumber(group, value.name);
    if (stored && value.allowed.Has(*stored)) value.set(settings, *stored);
  }
}

template <class Settings>
void WriteNumbers(SettingsProvider& provider, const char* group, unsigned groups,
                  std::span<const NumberValue<Settings>> values, const Settings& settings) {
  for (const NumberValue<Settings>& value : values)
    if ((value.groups & groups) != 0) provider.writeNumber(group, value.name, value.get(settings));
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
  Allowed allowed;
};
constexpr FormatValue kFormatValues[] = {
    {"AutoEncParam", &OutputFormat::autoEncParam, kFlag},
    {"CodecID", &OutputFormat::codecId, kNonNegative},
    {"SampleRate", &OutputFormat::sampleRate, {0, 768000}},
    {"BitRate", &OutputFormat::bitRate, {0, 100000000}},
    {"Channels", &OutputFormat::channels, {0, 2}},
};

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
      if (stored && value.allowed.Has(*stored)) row.*value.field = *stored;
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
    ReadNumbers<S>(p, kOptions, kOptionNumbers, s);
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
  ReadNumbers<TagSettings>(p, kTags, kTagNumbers, t);
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
    WriteFormatValues(p, s.formats);
  }
  WriteNumbers<S>(p, kOptions, groups, kOptionNumbers, s);
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
  WriteNumbers<TagSettings>(p, kTags, kSaveOptions, kTagNumbers, t);
}

std::vector<std::string> SettingsStore::ValuesOutOfRange(const ConversionSettings& s) {
  std::vector<std::string> names;
  for (const NumberValue<S>& value : kOptionNumbers)
    if (!value.allowed.Has(value.get(s))) names.emplace_back(value.name);
  for (const NumberValue<TagSettings>& value : kTagNumbers)
    if (!value.allowed.Has(value.get(s.tags))) names.emplace_back(value.name);
  for (const OutputFormat& row : s.formats) {
    const std::optional<std::string> prefix = SettingsPrefix(row);
    if (!prefix) continue;
    for (const FormatValue& value : kFormatValues)
      if (!value.allowed.Has(row.*value.field)) names.push_back(*prefix + value.suffix);
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
