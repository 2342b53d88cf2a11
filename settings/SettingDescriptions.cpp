#include "settings/SettingDescriptions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quillo {
namespace {

using enum SettingKind;
using enum SettingPlace;

constexpr SettingChoice kFolderModes[] = {{199, "same-folder"}, {399, "output-dir"}};
constexpr SettingChoice kExistsPolicies[] = {{11, "rename"}, {22, "overwrite"}, {33, "skip"}};
constexpr SettingChoice kMonoModes[] = {{0, "avg"}, {1, "left"}, {2, "right"}};
constexpr SettingChoice kVolumeModes[] = {
    {0, "normalize"}, {1, "volume"}, {2, "keep-volume"}, {3, "loudness"}};
constexpr SettingChoice kReplayGainModes[] = {{0, "off"}, {1, "track"}, {2, "album"}};
constexpr SettingChoice kTagModes[] = {{0, "none"}, {1, "custom"}, {2, "source"}};
constexpr SettingChoice kTrackModes[] = {{0, "none"}, {1, "seq"}, {2, ""}};
constexpr SettingChoice kCompressionLevels[] = {
    {0, "fast"}, {1, "normal"}, {2, "high"}, {3, "very-high"}};
constexpr SettingChoice kAmrBands[] = {{0, "nb"}, {1, "wb"}};
constexpr SettingDescription Flag(std::string_view name, SettingPlace place, int32_t fallback,
                                  std::string_view flag, std::string_view help) {
  return {name, place, Switch, 0, 1, {}, "", fallback, flag, help};
}

constexpr SettingDescription Range(std::string_view name, SettingPlace place, int32_t low,
                                   int32_t high, std::string_view unit, int32_t fallback,
                                   std::string_view flag, std::string_view help) {
  return {name, place, Number, low, high, {}, unit, fallback, flag, help};
}

constexpr SettingDescription Choose(std::string_view name, SettingPlace place,
                                    std::span<const SettingChoice> choices, int32_t fallback,
                                    std::string_view flag, std::string_view help) {
  return {name, place, Choice, 0, 0, choices, "", fallback, flag, help};
}

constexpr SettingDescription Words(std::string_view name, SettingPlace place, SettingKind kind,
                                   std::string_view flag, std::string_view help) {
  return {name, place, kind, 0, 0, {}, "", 0, flag, help};
}

constexpr SettingDescription kDescriptions[] = {
    Range("OptStartPageIndex", Options, 0, kLargestSetting, "", 0, "",
          "the options page shown first (the one last shown)"),
    Words("Folder", Options, Folder, "", "the folder Add Folder opened last"),
    Range("OutputFormat", Options, 0, kLargestSetting, "", 1000, "format",
          "the output format's catalog id"),
    Choose("DestOutputFolderOpt", Options, kFolderModes, 199, "output-dir",
           "where outputs go: beside each source, or into one folder"),
    Words("DestSpecifiedFolder", Options, Folder, "output-dir", "the folder outputs go into"),
    Flag("CreateDirs", Options, 0, "keep-tree",
         "rebuild each source's folders below the output "
         "folder"),
    Flag("BrowseOutputFolder", Options, 1, "",
         "show the output folder in the file manager after a run (the window's)"),
    Flag("OutputFiles2MyDocuments", Options, 1, "documents-fallback",
         "write into the documents folder when the output folder cannot be created"),
    Choose("TargetExistsOpt", Options, kExistsPolicies, 11, "if-exists",
           "what to do with an existing output file"),
    Words("NamePattern", Options, Text, "name",
          "name outputs from their tags: {artist}, {albumartist}, {album}, {title}, {track}, "
          "{track:02}, {disc}, {year}, {genre}, {name}; \"/\" makes folders (\"\": after the "
          "sources)"),
    Choose("MonoType", Options, kMonoModes, 0, "mono", "how two channels become one"),
    Flag("DoNotLoadHiddenFiles", Options, 0, "skip-hidden",
         "leave out hidden files and folders when adding a folder"),
    Flag("EnableDTSForCDA", Options, 0, "dts-cd", "decode CD tracks (.cda) as DTS audio"),
    Flag("EnableConvertLength", Options, 0, "length", "convert only the first part of each file"),
    Flag("EnableSkipLength", Options, 0, "skip", "skip the start of each file"),
    Range("ConvertLength", Options, 0, kLargestSetting, "ms", 0, "length",
          "convert only this much of each file (0: all of it)"),
    Range("SkipLength", Options, 0, kLargestSetting, "ms", 0, "skip",
          "skip this much at the start of each file"),
    Flag("EnableExtFilter", Options, 0, "only-ext",
         "add only files with the listed extensions from folders and drops"),
    Words("FilterExts", Options, Text, "only-ext",
          "the extensions a folder's files must have, separated by commas (\"off\": any)"),
    Range("Volume", Options, 1, 32767, "%", 100, "volume", "scale the volume (100 = unchanged)"),
    Choose("VolumeType", Options, kVolumeModes, 2, "volume",
           "what happens to the volume: --normalize, --volume, --keep-volume or --loudness"),
    Choose("ID3TagType", Options, kTagModes, 2, "tags",
           "tags from the source file, from the custom tag options, or none"),
    Flag("TransferPictures", Options, 1, "pictures",
         "carry the source's cover picture with its tags (--tags source)"),
    Choose("WriteReplayGain", Options, kReplayGainModes, 0, "replaygain",
           "write ReplayGain gain and peak tags: of each track, or of each track and its album "
           "(the files of one folder); \"on\" means track"),
    Flag("VerifyOutput", Options, 0, "verify",
         "decode each output before it takes its name and fail it unless it gives back the audio "
         "written (lossless formats: every sample)"),
    Flag("WriteJoinCue", Options, 0, "cue",
         "write a cue sheet beside a joined output (NAME.cue), one track per joined file"),
    Range("LoudnessTarget", Options, -40, -5, "LUFS", -18, "loudness",
          "bring every output to this loudness (EBU R128, measured as written: after the mono "
          "fold and the resampling, a mono output as dual mono), true peak at most -1 dBTP; "
          "\"18\" means -18"),
    Flag("LoudnessByAlbum", Options, 0, "by-album",
         "with --loudness: one gain for each album (the files of one folder), bringing the album "
         "as a whole to the target so that its tracks keep their balance"),
    Flag("WMAAutoEncParam", Options, 1, "auto", "WMA, WMV and ASF: the program chooses the format"),
    Range("WMABitRate", Options, 1000, 10000000, "bit/s", 128000, "bitrate",
          "WMA, WMV and ASF: the bit rate, given in kbps"),
    Range("WMASampleRate", Options, 1000, 768000, "Hz", 44100, "rate",
          "WMA, WMV and ASF: the sample rate"),
    Range("WMAChannels", Options, 1, 2, "", 2, "channels", "WMA, WMV and ASF: the channels"),
    Range("AMRMode", Options, 0, 7, "", 6, "mode",
          "AMR narrow band: the speech mode, 0 (4.75 kbps) to 7 (12.2 kbps)"),
    Range("AMRWBMode", Options, 0, 8, "", 6, "mode",
          "AMR wide band: the speech mode, 0 (6.60 kbps) to 8 (23.85 kbps)"),
    Flag("AMRDTX", Options, 0, "dtx",
         "AMR narrow band: discontinuous transmission (pauses take almost no room)"),
    Choose("AMRType", Options, kAmrBands, 0, "band",
           "AMR: narrow band (8000 Hz) or wide band (16000 Hz)"),
    Range("AWBMode", Options, 0, 8, "", 6, "mode",
          "AWB: the speech mode, 0 (6.60 kbps) to 8 (23.85 kbps)"),
    Flag("AWBDTX", Options, 0, "dtx", "AWB: discontinuous transmission"),
    Flag("OPUSVBR", Options, 1, "vbr", "Opus: variable bit rate (on) or constant (off)"),
    Choose("WVCompression", Options, kCompressionLevels, 1, "compression",
           "WavPack: how hard the encoder works to make the file small"),
    Words("Title", Tags, Text, "title", "custom title tag (each custom tag implies --tags custom)"),
    Words("Artist", Tags, Text, "artist", "custom artist tag"),
    Words("Album", Tags, Text, "album", "custom album tag"),
    Words("Year", Tags, Text, "year", "custom year tag"),
    Words("Genre", Tags, Text, "genre", "custom genre tag"),
    Words("Comment", Tags, Text, "comment", "custom comment tag"),
    Words("Composer", Tags, Text, "composer", "custom composer tag"),
    Words("Copyright", Tags, Text, "copyright", "custom copyright tag"),
    Flag("TitleAsFileName", Tags, 1, "title-from-name", "the file name as the custom title"),
    Choose("TrackNumType", Tags, kTrackModes, 0, "track",
           "no track number, the file's position, or a number of its own"),
    Range("CustomTrackNum", Tags, 0, 255, "", 0, "track", "the custom track number"),
    Flag("AutoEncParam", Row, 1, "auto", "let the program choose the encoding parameters"),
    Range("CodecID", Row, 0, kLargestSetting, "", 0, "codec", "the format's codec"),
    Range("SampleRate", Row, 0, 768000, "Hz", 0, "rate",
          "sample rate of the encoding (0: the source's)"),
    Range("BitRate", Row, 0, 100000000, "bit/s", 0, "bitrate",
          "bit rate of the encoding (0: chosen by the rate and channels)"),
    Range("Channels", Row, 0, 2, "", 0, "channels", "channels of the encoding (0: the source's)"),
};

}  // namespace

bool SettingDescription::Allows(int32_t value) const {
  switch (kind) {
    case Switch:
    case Number:
      return value >= low && value <= high;
    case Choice:
      return std::any_of(choices.begin(), choices.end(),
                         [value](const SettingChoice& c) { return c.code == value; });
    case Text:
    case Folder:
      break;
  }
  return false;
}

std::string SettingDescription::AllowedText() const {
  switch (kind) {
    case Switch:
      return "on or off";
    case Number:
      return "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    case Choice: {
      std::vector<std::string_view> words;
      for (const SettingChoice& choice : choices)
        if (!choice.word.empty()) words.push_back(choice.word);
      std::string text;
      for (size_t i = 0; i < words.size(); ++i)
        text += std::string(i == 0                  ? ""
                            : i + 1 == words.size() ? " or "
                                                    : ", ") +
                std::string(words[i]);
      return text;
    }
    case Text:
      return "a text";
    case Folder:
      return "an absolute folder path";
  }
  return {};
}

std::span<const SettingDescription> SettingDescriptions() { return kDescriptions; }

const SettingDescription& DescribeSetting(std::string_view name, SettingPlace place) {
  for (const SettingDescription& description : kDescriptions)
    if (description.name == name && description.place == place) return description;
  std::fprintf(stderr, "no description of the setting %.*s\n", static_cast<int>(name.size()),
               name.data());
  std::abort();
}

bool FindChoiceWord(const SettingDescription& choice, std::string_view word, int32_t& code) {
  for (const SettingChoice& c : choice.choices) {
    if (!c.word.empty() && c.word == word) {
      code = c.code;
      return true;
    }
  }
  return false;
}

}  // namespace quillo
