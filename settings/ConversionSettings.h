#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/OutputFormat.h"
#include "settings/SettingsEnums.h"
#include "settings/TagSettings.h"

namespace quillo {

// The program's options. Numbers are the 32-bit values the settings file
// stores (flags are 0/1); every field starts at its default. The per-format
// encoding choices live in the catalog rows held here.
class ConversionSettings {
 public:
  // `documentsFolder` is the user's documents folder, empty when it cannot be
  // determined; it becomes the specific output folder.
  explicit ConversionSettings(const std::string& documentsFolder);

  // Recomputes `extensionFilter` from `enableExtFilter` and `filterExts`.
  void rebuildExtensionFilter();

  std::string folder;  // last folder chosen with Add Folder
  OutputFolderMode destOutputFolderOpt = OutputFolderMode::SameAsSource;
  std::string destSpecifiedFolder;
  int32_t createDirs = 0;  // keep the source's directory tree below the output folder
  int32_t browseOutputFolder = 1;
  int32_t outputFiles2MyDocuments = 1;  // documents folder when the output cannot be created
  TargetExistsPolicy targetExistsOpt = TargetExistsPolicy::Rename;
  std::string namePattern;  // output names from tags; empty: named after the sources
  MonoMixMode monoType = MonoMixMode::Average;
  int32_t doNotLoadHiddenFiles = 0;
  int32_t enableDtsForCda = 0;
  int32_t enableConvertLength = 0;
  int32_t enableSkipLength = 0;
  int32_t convertLength = 0;  // milliseconds
  int32_t skipLength = 0;     // milliseconds
  int32_t enableExtFilter = 0;
  std::string filterExts;  // as typed, e.g. "wav,mp3,m4a,aac"
  int32_t volume = 100;    // percent
  VolumeMode volumeType = VolumeMode::Keep;
  TagMode id3TagType = TagMode::FromSource;
  int32_t transferPictures = 1;  // the source's cover art travels with its tags
  int32_t writeReplayGain = 0;   // ReplayGain tags: 0 none, 1 track, 2 track and album
  int32_t verifyOutput = 0;      // each output decoded and checked before it takes its name
  int32_t writeJoinCue = 0;      // a join writes a cue sheet of its files beside its output
  int32_t loudnessTarget = -18;  // whole LUFS, for VolumeMode::Loudness
  int32_t loudnessByAlbum = 0;   // one loudness gain for each album, not each file
  int32_t outputFormat = format_id::kMp3;
  int32_t wmaAutoEncParam = 1;
  int32_t wmaBitRate = 128000;
  int32_t wmaSampleRate = 44100;
  int32_t wmaChannels = 2;
  int32_t amrMode = 6;    // 10.2 kbit/s
  int32_t amrWbMode = 6;  // 19.85 kbit/s
  int32_t amrDtx = 0;
  AmrBand amrType = AmrBand::Narrow;
  int32_t awbMode = 6;
  int32_t awbDtx = 0;
  int32_t opusVbr = 1;             // Opus: variable bit rate (0: constant)
  int32_t wavPackCompression = 1;  // WavPack: 0 fast, 1 normal, 2 high, 3 very high
  int32_t optStartPageIndex = 0;

  TagSettings tags;

  // Not stored.
  std::vector<OutputFormat> formats;         // the output format catalog
  std::vector<std::string> extensionFilter;  // lower case, leading dots kept
  // What loading the settings had to correct, for the front end to show once.
  std::vector<std::string> loadWarnings;
  float normalizeGain = -1.0f;
  float appliedGain = -1.0f;
};

// The filter list for a typed filter text: spaces removed, ";" taken as ",",
// lower-cased, split at "," with empty pieces dropped.
std::vector<std::string> ParseExtensionFilter(const std::string& text);

// A typed filter text as it is stored: blanks removed, ";" taken as ",".
std::string CleanExtensionFilter(const std::string& text);

}  // namespace quillo
