#include "cli/OptionTable.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <type_traits>
#include <utility>

#include "base/AsciiCase.h"
#include "catalog/Catalog.h"
#include "cli/ConvertOptions.h"
#include "cli/EncoderOptions.h"
#include "cli/NumberText.h"
#include "engine/output/NamePattern.h"
#include "settings/SettingsStore.h"

namespace quillo {

namespace {

bool Bad(const std::string& name, const std::string& value, std::string& error) {
  error = "bad value \"" + value + "\" for --" + name;
  return false;
}

constexpr long long kLargest = 0x7fffffff;

// --- Options of the command line itself ---

// --config and -o: the value as given.
template <std::string ConvertArguments::*Field>
bool ReadText(const std::string& value, ConvertArguments& arguments, std::string&) {
  arguments.*Field = value;
  return true;
}

// --save, --json and -0.
template <bool ConvertArguments::*Field>
bool ReadFlag(const std::string&, ConvertArguments& arguments, std::string&) {
  arguments.*Field = true;
  return true;
}

// The -j value: 1 to 256 files at once.
bool ReadJobs(const std::string& value, ConvertArguments& arguments, std::string& error) {
  int32_t jobs = 0;
  if (!ParseDecimal(value, 1, 256, jobs)) {
    error = NumberRangeError("--jobs", 1, 256, value);
    return false;
  }
  arguments.jobs = jobs;
  return true;
}

bool ReadFilesFrom(const std::string& value, ConvertArguments& arguments, std::string& error) {
  if (value.empty()) return Bad("files-from", value, error);
  arguments.filesFrom.emplace_back(arguments.paths.size(), value);
  return true;
}

// --- Options over the settings ---

using S = ConversionSettings;

// The refusal of `value` for `option`, naming what its setting takes.
bool Refuse(const CliOption& option, const std::string& value, std::string& error,
            std::string_view words = "") {
  error = "--" + std::string(option.name) + " takes " + std::string(words) +
          option.setting->AllowedText() + ", not \"" + value + "\"";
  return false;
}

// Reads the decimal number `value` in the range of `option`'s setting.
bool ReadSetting(const CliOption& option, const std::string& value, int32_t& number,
                 std::string& error, std::string_view words = "") {
  const SettingDescription& setting = *option.setting;
  return ParseDecimal(value, setting.low, setting.high, number) ||
         Refuse(option, value, error, words);
}

// The flags that set one field to one value (--same-folder, --normalize...).
template <auto Field, auto Value>
bool Set(const CliOption&, const std::string&, OptionTarget& target) {
  target.settings.*Field = Value;
  return true;
}

// The options whose value is one of their setting's words (--mono avg).
template <auto Field>
bool ApplyWord(const CliOption& option, const std::string& value, OptionTarget& target) {
  int32_t code = 0;
  if (!FindChoiceWord(*option.setting, value, code)) return Refuse(option, value, target.error);
  using Type = std::remove_reference_t<decltype(target.settings.*Field)>;
  target.settings.*Field = static_cast<Type>(code);
  return true;
}

// The options that are "on" or "off" (--pictures, --dts-cd).
template <auto Field>
bool ApplySwitch(const CliOption& option, const std::string& value, OptionTarget& target) {
  if (value != "on" && value != "off") return Refuse(option, value, target.error);
  target.settings.*Field = value == "on" ? 1 : 0;
  return true;
}

bool ApplyOutputDir(const CliOption& option, const std::string& value, OptionTarget& target) {
  if (value.empty()) return Bad(std::string(option.name), value, target.error);
  ConversionSettings& settings = target.settings;
  settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  // Stored absolute: a later run from another folder must find the same place.
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(value, ec);
  settings.destSpecifiedFolder = ec ? value : folder.lexically_normal().string();
  return true;
}

// --skip and --length: milliseconds; 0 turns the cut off.
template <auto Enable, auto Length>
bool ApplyCut(const CliOption& option, const std::string& value, OptionTarget& target) {
  int32_t number = 0;
  if (!ReadSetting(option, value, number, target.error)) return false;
  target.settings.*Enable = number != 0;
  target.settings.*Length = number;
  return true;
}

bool ApplyVolume(const CliOption& option, const std::string& value, OptionTarget& target) {
  int32_t number = 0;
  if (!ReadSetting(option, value, number, target.error)) return false;
  target.settings.volumeType = VolumeMode::Manual;
  target.settings.volume = number;
  return true;
}

bool ApplyLoudness(const CliOption& option, const std::string& value, OptionTarget& target) {
  // A negative target may leave out its sign: "18" means -18.
  int32_t number = 0;
  const SettingDescription& setting = *option.setting;
  if (!ParseDecimal(value, setting.low, -setting.low, number) ||
      !setting.Allows(number < 0 ? number : -number))
    return Refuse(option, value, target.error);
  target.settings.volumeType = VolumeMode::Loudness;
  target.settings.loudnessTarget = number < 0 ? number : -number;
  return true;
}

// --replaygain off|track|album; "on", its word before albums, still means track.
bool ApplyReplayGain(const CliOption& option, const std::string& value, OptionTarget& target) {
  if (value != "on") return ApplyWord<&S::writeReplayGain>(option, value, target);
  target.settings.writeReplayGain = 1;
  return true;
}

// --only-ext: the extensions folders and drops add, as the General page
// takes them; "off" adds every file.
bool ApplyExtensionFilter(const CliOption& option, const std::string& value, OptionTarget& target) {
  ConversionSettings& settings = target.settings;
  if (value == "off") {
    settings.enableExtFilter = 0;
    return true;
  }
  const std::string cleaned = CleanExtensionFilter(value);
  if (ParseExtensionFilter(cleaned).empty()) {
    target.error = "--" + std::string(option.name) +
                   " takes extensions separated by commas (\"mp3,flac\") or off, not \"" + value +
                   "\"";
    return false;
  }
  settings.enableExtFilter = 1;
  settings.filterExts = cleaned;
  return true;
}

// --name: a pattern that keeps every output inside its folder ("": off).
bool ApplyNamePattern(const CliOption& option, const std::string& value, OptionTarget& target) {
  const std::string problem = NamePatternProblem(value);
  if (!problem.empty()) {
    target.error = "--" + std::string(option.name) + ": " + problem;
    return false;
  }
  target.settings.namePattern = value;
  return true;
}

// --title, --artist and the other custom tag texts.
bool ApplyTagText(const CliOption& option, const std::string& value, OptionTarget& target) {
  TagSettings& tags = target.settings.tags;
  for (const TagText& text : kTagTexts)
    if (AsciiLower(text.name) == option.name) tags.*text.field = value;
  if (option.name == "title") tags.titleAsFileName = 0;
  target.settings.id3TagType = TagMode::Custom;
  return true;
}

bool ApplyTitleFromName(const CliOption&, const std::string&, OptionTarget& target) {
  target.settings.tags.titleAsFileName = 1;
  target.settings.id3TagType = TagMode::Custom;
  return true;
}

// --track: a word of the track mode, or the custom number in its range.
bool ApplyTrack(const CliOption& option, const std::string& value, OptionTarget& target) {
  TagSettings& tags = target.settings.tags;
  const SettingDescription& modes = DescribeSetting("TrackNumType", SettingPlace::Tags);
  int32_t code = 0;
  if (FindChoiceWord(modes, value, code)) {
    tags.trackNumType = static_cast<TrackNumberMode>(code);
    return true;
  }
  std::string words;  // "none, seq or "
  for (const SettingChoice& choice : modes.choices)
    if (!choice.word.empty()) words += std::string(choice.word) + ", ";
  words.replace(words.size() - 2, 2, " or ");
  if (!ReadSetting(option, value, tags.customTrackNum, target.error, words)) return false;
  tags.trackNumType = TrackNumberMode::Custom;
  return true;
}

// A codec id in decimal, or in hexadecimal with "0x" as the codec list below
// prints it.
bool ParseCodecId(std::string_view text, int32_t& id) {
  if (text.size() > 2 && (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")) {
    const std::string_view hex = text.substr(2);
    if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) return false;
    unsigned long long parsed = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), parsed, 16);
    if (ec != std::errc() || end != hex.data() + hex.size() || parsed > kLargest) return false;
    id = static_cast<int32_t>(parsed);
    return true;
  }
  return ParseDecimal(text, 0, kLargest, id);
}

bool ResolveCodec(const std::string& text, const OutputFormat& row, int32_t& codecId,
                  std::string& error) {
  int32_t id = 0;
  if (ParseCodecId(text, id)) {
    if (FindCodecChoice(row, id) != nullptr) {
      codecId = id;
      return true;
    }
  }
  const std::string wanted = AsciiLower(text);
  const CodecChoice* match = nullptr;
  int matches = 0;
  for (const CodecChoice* choice : row.codecChoices) {
    if (AsciiLower(choice->displayName).find(wanted) == std::string::npos) continue;
    if (match == nullptr || match->codecId != choice->codecId) ++matches;
    match = choice;
  }
  if (matches == 1) {
    codecId = match->codecId;
    return true;
  }
  error = "--codec " + text + ": the " + FormatListText(row).substr(4) + " codecs are:";
  for (const CodecChoice* choice : row.codecChoices) {
    char id_text[16];
    std::snprintf(id_text, sizeof id_text, "0x%X", static_cast<unsigned>(choice->codecId));
    error += std::string("\n  ") + id_text + "  " + choice->displayName;
  }
  return false;
}

// --auto, and --codec, --rate, --bitrate, --channels: the row's encoding. They
// need a row with codec settings of its own; the Windows Media rows read all
// but --codec from their own settings, in a pass of their own against the
// writer's format list. The codec is used on automatic settings too, so
// choosing it leaves them automatic; a rate, bit rate or channel count is a
// manual choice.
bool ApplyEncoding(const CliOption& option, const std::string& value, OptionTarget& target) {
  OutputFormat& row = target.row;
  const std::string name(option.name);
  if (row.backend == FormatBackend::WindowsMedia && name != "codec") return true;
  if (!HasOwnCodecSettings(row)) {
    target.error = "--" + name + " does not apply" + FormatListText(row);
    return false;
  }
  if (name == "auto") {
    row.autoEncParam = 1;
    return true;
  }
  if (name == "codec") return ResolveCodec(value, row, row.codecId, target.error);
  int32_t number = 0;
  if (!ReadSetting(option, value, number, target.error)) return false;
  row.autoEncParam = 0;
  (name == "rate" ? row.sampleRate : name == "bitrate" ? row.bitRate : row.channels) = number;
  return true;
}

const SettingDescription* Describe(std::string_view name,
                                   SettingPlace place = SettingPlace::Options) {
  return &DescribeSetting(name, place);
}

constexpr unsigned kConvertJoin = kConvertCommand | kJoinCommand;
constexpr unsigned kAll = kProbeCommand | kConvertCommand | kJoinCommand;
constexpr SettingPlace kTagPlace = SettingPlace::Tags;
constexpr SettingPlace kRowPlace = SettingPlace::Row;

const CliOption kOptions[] = {
    {"json", 0, "", kAll, ReadFlag<&ConvertArguments::json>, nullptr,
     "print one JSON object per file and line (JSON Lines) instead of the tab-separated lines"},
    {"files-from", 0, "FILE", kAll, ReadFilesFrom, nullptr,
     "read more paths from FILE (\"-\": standard input), one per line; a CR before the line "
     "feed is dropped, so a name ending in CR needs -0. Each --files-from given is read"},
    {"null", '0', "", kAll, ReadFlag<&ConvertArguments::nulSeparated>, nullptr,
     "the names of --files-from end with a NUL byte, not a line feed "
     "(as find -print0 writes them)"},
    {"format", 'f', "ID|EXT", kConvertJoin, nullptr, nullptr,
     "output format: a catalog id or an extension (\"mp3\"); see formats"},
    {"output-dir", 'd', "DIR", kConvertJoin, nullptr, ApplyOutputDir, "write the outputs into DIR"},
    {"same-folder", 0, "", kConvertJoin, nullptr,
     Set<&S::destOutputFolderOpt, OutputFolderMode::SameAsSource>,
     "write each output beside its source"},
    {"keep-tree", 0, "", kConvertJoin, nullptr, Set<&S::createDirs, 1>,
     "rebuild each source's folders below DIR"},
    {"documents-fallback", 0, "WORD", kConvertJoin, nullptr,
     ApplySwitch<&S::outputFiles2MyDocuments>, "", Describe("OutputFiles2MyDocuments")},
    {"if-exists", 0, "WORD", kConvertJoin, nullptr, ApplyWord<&S::targetExistsOpt>, "",
     Describe("TargetExistsOpt")},
    {"name", 0, "PATTERN", kConvertJoin, nullptr, ApplyNamePattern, "", Describe("NamePattern")},
    {"skip-hidden", 0, "WORD", kConvertJoin, nullptr, ApplySwitch<&S::doNotLoadHiddenFiles>, "",
     Describe("DoNotLoadHiddenFiles")},
    {"only-ext", 0, "EXTS|off", kConvertJoin, nullptr, ApplyExtensionFilter, "",
     Describe("FilterExts")},
    {"dts-cd", 0, "WORD", kConvertJoin, nullptr, ApplySwitch<&S::enableDtsForCda>, "",
     Describe("EnableDTSForCDA")},
    {"skip", 0, "MS", kConvertJoin, nullptr, ApplyCut<&S::enableSkipLength, &S::skipLength>,
     "skip the first MS milliseconds of each file", Describe("SkipLength")},
    {"length", 0, "MS", kConvertJoin, nullptr, ApplyCut<&S::enableConvertLength, &S::convertLength>,
     "convert only MS milliseconds of each file (0: all of it)", Describe("ConvertLength")},
    {"mono", 0, "WORD", kConvertJoin, nullptr, ApplyWord<&S::monoType>, "", Describe("MonoType")},
    {"normalize", 0, "", kConvertJoin, nullptr, Set<&S::volumeType, VolumeMode::Normalize>,
     "bring every output's peak to full scale"},
    {"volume", 0, "PERCENT", kConvertJoin, nullptr, ApplyVolume, "", Describe("Volume")},
    {"keep-volume", 0, "", kConvertJoin, nullptr, Set<&S::volumeType, VolumeMode::Keep>,
     "leave the volume as it is"},
    {"loudness", 0, "LUFS", kConvertJoin, nullptr, ApplyLoudness, "", Describe("LoudnessTarget")},
    {"tags", 0, "WORD", kConvertJoin, nullptr, ApplyWord<&S::id3TagType>, "",
     Describe("ID3TagType")},
    {"pictures", 0, "WORD", kConvertJoin, nullptr, ApplySwitch<&S::transferPictures>, "",
     Describe("TransferPictures")},
    {"replaygain", 0, "WORD", kConvertJoin, nullptr, ApplyReplayGain, "",
     Describe("WriteReplayGain")},
    {"by-album", 0, "", kConvertJoin, nullptr, Set<&S::loudnessByAlbum, 1>, "",
     Describe("LoudnessByAlbum")},
    {"verify", 0, "", kConvertJoin, nullptr, Set<&S::verifyOutput, 1>, "",
     Describe("VerifyOutput")},
    {"cue", 0, "", kJoinCommand, nullptr, Set<&S::writeJoinCue, 1>, "", Describe("WriteJoinCue")},
    {"title", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Title", kTagPlace)},
    {"artist", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Artist", kTagPlace)},
    {"album", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Album", kTagPlace)},
    {"year", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Year", kTagPlace)},
    {"genre", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Genre", kTagPlace)},
    {"comment", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Comment", kTagPlace)},
    {"composer", 0, "T", kConvertJoin, nullptr, ApplyTagText, "", Describe("Composer", kTagPlace)},
    {"copyright", 0, "T", kConvertJoin, nullptr, ApplyTagText, "",
     Describe("Copyright", kTagPlace)},
    {"title-from-name", 0, "", kConvertJoin, nullptr, ApplyTitleFromName,
     "the file name as the custom title"},
    {"track", 0, "none|seq|N", kConvertJoin, nullptr, ApplyTrack,
     "no track number, the file's position, or N", Describe("CustomTrackNum", kTagPlace)},
    {"codec", 0, "ID|NAME", kConvertJoin, nullptr, ApplyEncoding,
     "the format's codec (see the error text for the list); the other encoding choices stay "
     "as they are"},
    {"rate", 0, "HZ", kConvertJoin, nullptr, ApplyEncoding,
     "sample rate of the encoding, 0 for the source's (a manual choice, as are --bitrate and "
     "--channels); for WMA, WMV and ASF one of the Windows Media formats (a choice not in the "
     "list lists them)",
     Describe("SampleRate", kRowPlace)},
    {"bitrate", 0, "BPS", kConvertJoin, nullptr, ApplyEncoding,
     "bit rate of the encoding in bit/s; for WMA, WMV and ASF in kbps (\"64\")",
     Describe("BitRate", kRowPlace)},
    {"channels", 0, "N", kConvertJoin, nullptr, ApplyEncoding,
     "channels of the encoding, 0 for the source's", Describe("Channels", kRowPlace)},
    {"auto", 0, "", kConvertJoin, nullptr, ApplyEncoding,
     "let the program choose the encoding parameters"},
    {"vbr", 0, "WORD", kConvertJoin, nullptr, ApplyVbr, "", Describe("OPUSVBR")},
    {"compression", 0, "WORD", kConvertJoin, nullptr, ApplyCompression, "",
     Describe("WVCompression")},
    {"band", 0, "WORD", kConvertJoin, nullptr, nullptr, "", Describe("AMRType")},
    {"mode", 0, "KBPS", kConvertJoin, nullptr, nullptr,
     "AMR and AWB: the bit rate of the band's speech mode, narrow band 4.75 5.15 5.9 6.7 "
     "7.4 7.95 10.2 12.2, wide band 6.60 8.85 12.65 14.25 15.85 18.25 19.85 23.05 23.85"},
    {"dtx", 0, "WORD", kConvertJoin, nullptr, nullptr,
     "AMR and AWB: discontinuous transmission (pauses take almost no room)", Describe("AMRDTX")},
    {"output", 'o', "OUTFILE", kConvertJoin, ReadText<&ConvertArguments::outputFile>, nullptr,
     "join: the output file"},
    {"jobs", 'j', "N", kConvertJoin, ReadJobs, nullptr,
     "convert: N files at once (default: one per processor); names, outputs and lines are "
     "those of -j 1"},
    {"config", 0, "FILE", kConvertJoin, ReadText<&ConvertArguments::configFile>, nullptr,
     "read (and with --save write) the settings in FILE"},
    {"save", 0, "", kConvertJoin, ReadFlag<&ConvertArguments::save>, nullptr,
     "store these options as the new settings"},
};

}  // namespace

std::span<const CliOption> OptionTable() { return kOptions; }

const CliOption* FindOption(std::string_view arg) {
  for (const CliOption& option : kOptions) {
    if (arg.size() == 2 && arg[0] == '-' && option.shortName != 0 && arg[1] == option.shortName)
      return &option;
    if (arg.size() > 2 && arg.substr(0, 2) == "--" && arg.substr(2) == option.name) return &option;
  }
  return nullptr;
}

namespace {

// The edits (insertions, deletions, substitutions) from `a` to `b`.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string NearestOption(std::string_view name, unsigned commands) {
  constexpr size_t kMostEdits = 2;
  const CliOption* nearest = nullptr;
  size_t nearestEdits = kMostEdits + 1;
  const CliOption* begun = nullptr;
  int begunCount = 0;
  for (const CliOption& option : kOptions) {
    if ((option.commands & commands) == 0) continue;
    const size_t edits = EditDistance(name, option.name);
    if (edits < nearestEdits) {
      nearest = &option;
      nearestEdits = edits;
    }
    if (!name.empty() && option.name.substr(0, name.size()) == name) {
      begun = &option;
      ++begunCount;
    }
  }
  // A name cut short means the option it begins more surely than a near one.
  if (begunCount == 1) return std::string(begun->name);
  return nearest != nullptr ? std::string(nearest->name) : std::string();
}

std::string OptionArgument(const CliOption& option) {
  std::string argument(option.argument);
  const size_t word = argument.find("WORD");
  if (word == std::string::npos || option.setting == nullptr) return argument;
  std::string words;
  if (option.setting->kind == SettingKind::Switch) {
    words = "on|off";
  } else {
    for (const SettingChoice& choice : option.setting->choices)
      if (!choice.word.empty()) words += (words.empty() ? "" : "|") + std::string(choice.word);
  }
  return argument.replace(word, 4, words);
}

std::string OptionHelp(const CliOption& option) {
  const SettingDescription* setting = option.setting;
  std::string help(option.help.empty() && setting != nullptr ? setting->help : option.help);
  if (setting == nullptr) return help;
  switch (setting->kind) {
    case SettingKind::Number:
      help += "; " + std::to_string(setting->low) + " to " + std::to_string(setting->high);
      if (!setting->unit.empty()) help += " " + std::string(setting->unit);
      // A row's default is the row's own.
      if (setting->place == SettingPlace::Row) return help;
      return help + ", default " + std::to_string(setting->defaultValue);
    case SettingKind::Switch:
      return help + "; default " + (setting->defaultValue != 0 ? "on" : "off");
    case SettingKind::Choice:
      for (const SettingChoice& choice : setting->choices)
        if (choice.code == setting->defaultValue && !choice.word.empty())
          return help + "; default " + std::string(choice.word);
      return help;
    case SettingKind::Text:
    case SettingKind::Folder:
      break;
  }
  return help;
}

std::vector<std::string> OptionWords(const CliOption& option) {
  std::vector<std::string> words;
  const std::string argument = OptionArgument(option);
  std::string_view rest = argument;
  while (!rest.empty()) {
    const size_t bar = rest.find('|');
    const std::string_view word = rest.substr(0, bar);
    const bool placeholder =
        std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (!word.empty() && !placeholder) words.emplace_back(word);
    rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
  }
  return words;
}

}  // namespace quillo
