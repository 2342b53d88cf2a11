#include "cli/OptionTable.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <utility>

#include "catalog/Catalog.h"
#include "cli/ConvertOptions.h"
#include "cli/EncoderOptions.h"
#include "cli/NumberText.h"
#include "engine/media/AsciiCase.h"
#include "settings/SettingsStore.h"

namespace quillo {

namespace {

bool Bad(const std::string& name, const std::string& value, std::string& error) {
  error = "bad value \"" + value + "\" for --" + name;
  return false;
}

constexpr long long kLargest = 0x7fffffff;

// Reads the decimal number of --`name` into `number`; false, with the range
// in `error`, when `value` is none or out of range.
bool ReadNumber(const std::string& name, const std::string& value, long long min, long long max,
                int32_t& number, std::string& error) {
  if (ParseDecimal(value, min, max, number)) return true;
  error = NumberRangeError("--" + name, min, max, value);
  return false;
}

// Sets `field` to the choice among `words` that `value` names; false when it
// names none.
template <class T>
bool Choose(const std::string& value, std::initializer_list<std::pair<std::string_view, T>> words,
            T& field) {
  for (const auto& [word, choice] : words) {
    if (word == value) {
      field = choice;
      return true;
    }
  }
  return false;
}

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

// The flags that set one field to one value (--same-folder, --normalize...).
template <auto Field, auto Value>
bool Set(const std::string&, const std::string&, OptionTarget& target) {
  target.settings.*Field = Value;
  return true;
}

bool ApplyOutputDir(const std::string& name, const std::string& value, OptionTarget& target) {
  if (value.empty()) return Bad(name, value, target.error);
  ConversionSettings& settings = target.settings;
  settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  // Stored absolute: a later run from another folder must find the same place.
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(value, ec);
  settings.destSpecifiedFolder = ec ? value : folder.lexically_normal().string();
  return true;
}

bool ApplyIfExists(const std::string& name, const std::string& value, OptionTarget& target) {
  using enum TargetExistsPolicy;
  return Choose(value, {{"rename", Rename}, {"overwrite", Overwrite}, {"skip", Skip}},
                target.settings.targetExistsOpt) ||
         Bad(name, value, target.error);
}

bool ApplySkip(const std::string& name, const std::string& value, OptionTarget& target) {
  int32_t number = 0;
  if (!ReadNumber(name, value, 0, kLargest, number, target.error)) return false;
  target.settings.enableSkipLength = number != 0;
  target.settings.skipLength = number;
  return true;
}

bool ApplyLength(const std::string& name, const std::string& value, OptionTarget& target) {
  int32_t number = 0;
  if (!ReadNumber(name, value, 1, kLargest, number, target.error)) return false;
  target.settings.enableConvertLength = 1;
  target.settings.convertLength = number;
  return true;
}

bool ApplyMono(const std::string& name, const std::string& value, OptionTarget& target) {
  using enum MonoMixMode;
  return Choose(value, {{"avg", Average}, {"left", LeftOnly}, {"right", RightOnly}},
                target.settings.monoType) ||
         Bad(name, value, target.error);
}

bool ApplyVolume(const std::string& name, const std::string& value, OptionTarget& target) {
  int32_t number = 0;
  if (!ReadNumber(name, value, 1, 32767, number, target.error)) return false;
  target.settings.volumeType = VolumeMode::Manual;
  target.settings.volume = number;
  return true;
}

bool ApplyLoudness(const std::string& name, const std::string& value, OptionTarget& target) {
  // A whole number of LUFS, from -40 to -5; "-18" and "18" both mean -18.
  int32_t number = 0;
  if (!ParseDecimal(value, -40, 40, number) || (number > -5 && number < 5)) {
    target.error = NumberRangeError("--" + name, -40, -5, value);
    return false;
  }
  target.settings.volumeType = VolumeMode::Loudness;
  target.settings.loudnessTarget = number < 0 ? number : -number;
  return true;
}

// --pictures and --replaygain: on or off.
bool ApplySwitch(const std::string& name, const std::string& value, OptionTarget& target) {
  int32_t& field =
      name == "pictures" ? target.settings.transferPictures : target.settings.writeReplayGain;
  return Choose(value, {{"on", 1}, {"off", 0}}, field) || Bad(name, value, target.error);
}

bool ApplyTags(const std::string& name, const std::string& value, OptionTarget& target) {
  using enum TagMode;
  return Choose(value, {{"source", FromSource}, {"custom", Custom}, {"none", None}},
                target.settings.id3TagType) ||
         Bad(name, value, target.error);
}

// --title, --artist and the other custom tag texts.
bool ApplyTagText(const std::string& name, const std::string& value, OptionTarget& target) {
  TagSettings& tags = target.settings.tags;
  for (const TagText& text : kTagTexts)
    if (AsciiLower(text.name) == name) tags.*text.field = value;
  if (name == "title") tags.titleAsFileName = 0;
  target.settings.id3TagType = TagMode::Custom;
  return true;
}

bool ApplyTitleFromName(const std::string&, const std::string&, OptionTarget& target) {
  target.settings.tags.titleAsFileName = 1;
  target.settings.id3TagType = TagMode::Custom;
  return true;
}

bool ApplyTrack(const std::string& name, const std::string& value, OptionTarget& target) {
  TagSettings& tags = target.settings.tags;
  using enum TrackNumberMode;
  if (Choose(value, {{"none", None}, {"seq", ListPosition}}, tags.trackNumType)) return true;
  if (!ParseDecimal(value, 0, kLargest, tags.customTrackNum)) {
    target.error = NumberRangeError("--" + name, 0, kLargest, value, "none, seq or ");
    return false;
  }
  tags.trackNumType = Custom;
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

// --auto, and --codec, --rate, --bitrate, --channels: a manual choice of the
// row's encoding. They need a row with codec settings of its own; the Windows
// Media rows read all but --codec from their own settings, in a pass of their
// own against the writer's format list.
bool ApplyEncoding(const std::string& name, const std::string& value, OptionTarget& target) {
  OutputFormat& row = target.row;
  if (row.backend == FormatBackend::WindowsMedia && name != "codec") return true;
  if (!HasOwnCodecSettings(row)) {
    target.error = "--" + name + " does not apply" + FormatListText(row);
    return false;
  }
  row.autoEncParam = name == "auto" ? 1 : 0;
  if (name == "auto") return true;
  if (name == "codec") return ResolveCodec(value, row, row.codecId, target.error);
  int32_t number = 0;
  if (name == "rate") {
    if (!ReadNumber(name, value, 1, 768000, number, target.error)) return false;
    row.sampleRate = number;
  } else if (name == "bitrate") {
    if (!ReadNumber(name, value, 0, kLargest, number, target.error)) return false;
    row.bitRate = number;
  } else {
    if (value != "1" && value != "2") return Bad(name, value, target.error);
    row.channels = value[0] - '0';
  }
  return true;
}

constexpr unsigned kConvertJoin = kConvertCommand | kJoinCommand;
constexpr unsigned kAll = kProbeCommand | kConvertCommand | kJoinCommand;

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
    {"if-exists", 0, "rename|overwrite|skip", kConvertJoin, nullptr, ApplyIfExists,
     "what to do with an existing output file"},
    {"skip", 0, "MS", kConvertJoin, nullptr, ApplySkip,
     "skip the first MS milliseconds of each file"},
    {"length", 0, "MS", kConvertJoin, nullptr, ApplyLength,
     "convert only MS milliseconds of each file"},
    {"mono", 0, "avg|left|right", kConvertJoin, nullptr, ApplyMono, "how two channels become one"},
    {"normalize", 0, "", kConvertJoin, nullptr, Set<&S::volumeType, VolumeMode::Normalize>,
     "bring every output's peak to full scale"},
    {"volume", 0, "PERCENT", kConvertJoin, nullptr, ApplyVolume,
     "scale the volume (100 = unchanged)"},
    {"keep-volume", 0, "", kConvertJoin, nullptr, Set<&S::volumeType, VolumeMode::Keep>,
     "leave the volume as it is"},
    {"loudness", 0, "LUFS", kConvertJoin, nullptr, ApplyLoudness,
     "bring every output to this loudness (-40 to -5 LUFS, EBU R128, measured as written: "
     "after the mono fold and the resampling, a mono output as dual mono), true peak at most "
     "-1 dBTP"},
    {"tags", 0, "source|custom|none", kConvertJoin, nullptr, ApplyTags,
     "tags from the source file, from the options below, or none"},
    {"pictures", 0, "on|off", kConvertJoin, nullptr, ApplySwitch,
     "carry the source's cover picture with its tags"},
    {"replaygain", 0, "on|off", kConvertJoin, nullptr, ApplySwitch,
     "write ReplayGain track gain and peak tags"},
    {"title", 0, "T", kConvertJoin, nullptr, ApplyTagText,
     "custom title tag (each custom tag implies --tags custom)"},
    {"artist", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom artist tag"},
    {"album", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom album tag"},
    {"year", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom year tag"},
    {"genre", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom genre tag"},
    {"comment", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom comment tag"},
    {"composer", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom composer tag"},
    {"copyright", 0, "T", kConvertJoin, nullptr, ApplyTagText, "custom copyright tag"},
    {"title-from-name", 0, "", kConvertJoin, nullptr, ApplyTitleFromName,
     "the file name as the custom title"},
    {"track", 0, "none|seq|N", kConvertJoin, nullptr, ApplyTrack,
     "no track number, the file's position, or N"},
    {"codec", 0, "ID|NAME", kConvertJoin, nullptr, ApplyEncoding,
     "the format's codec (see the error text for the list)"},
    {"rate", 0, "HZ", kConvertJoin, nullptr, ApplyEncoding,
     "sample rate of the encoding (a manual choice, as are --bitrate and --channels); "
     "for WMA, WMV and ASF one of the Windows Media formats (a choice not in the list "
     "lists them)"},
    {"bitrate", 0, "BPS", kConvertJoin, nullptr, ApplyEncoding,
     "bit rate of the encoding; for WMA, WMV and ASF in whole kbps"},
    {"channels", 0, "1|2", kConvertJoin, nullptr, ApplyEncoding, "channels of the encoding"},
    {"auto", 0, "", kConvertJoin, nullptr, ApplyEncoding,
     "let the program choose the encoding parameters"},
    {"vbr", 0, "on|off", kConvertJoin, nullptr, ApplyVbr,
     "Opus: variable bit rate (on, the default) or constant"},
    {"compression", 0, "fast|normal|high|very-high", kConvertJoin, nullptr, ApplyCompression,
     "WavPack: how hard the encoder works to make the file small (default normal)"},
    {"band", 0, "nb|wb", kConvertJoin, nullptr, nullptr,
     "AMR: narrow band (8000 Hz) or wide band (16000 Hz)"},
    {"mode", 0, "KBPS", kConvertJoin, nullptr, nullptr,
     "AMR and AWB: the bit rate of the band's speech mode, narrow band 4.75 5.15 5.9 6.7 "
     "7.4 7.95 10.2 12.2, wide band 6.60 8.85 12.65 14.25 15.85 18.25 19.85 23.05 23.85"},
    {"dtx", 0, "on|off", kConvertJoin, nullptr, nullptr,
     "AMR and AWB: discontinuous transmission (pauses take almost no room)"},
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

std::vector<std::string> OptionWords(const CliOption& option) {
  std::vector<std::string> words;
  std::string_view rest = option.argument;
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
