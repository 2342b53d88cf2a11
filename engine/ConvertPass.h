#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "catalog/OutputFormat.h"
#include "engine/BackendTable.h"
#include "engine/ConversionProgress.h"
#include "engine/OutputSelection.h"
#include "engine/SourceFactory.h"
#include "engine/cue/CueTrack.h"
#include "engine/output/LoudnessMeter.h"
#include "settings/ConversionSettings.h"

// The passes over one file, one file each: ConvertPass.cpp converts a file
// into its own output, AppendFile.cpp adds one to a join, NormalizeScan.cpp
// measures it, PreprocessDts.cpp copies it into a scratch file. The steps
// they share are in PassSteps.h, the tags in PassTags.cpp. Each pass reads
// its source through RunBlockLoop and releases it when the pass returns.

namespace quillo {

extern const char* const kSkipTooLongDetail;
extern const char* const kNoSamplesDetail;

// The run state shared by the passes and the driver. One job per conversion
// run; the engine holds no state of its own besides. Whether a pass may be
// retried travels in its PassResult.
struct ConversionJob {
  // The last failure's explanation for the user; empty when there is none.
  std::string failureDetail;
  // 1-based position of the current file in the run (the list-position track number).
  int position = 0;
  // Gain found by the normalize scan; -1 when none is known.
  float normalizeGain = -1.0f;
  // A gain found for the whole run before its files (a join normalized to a
  // loudness target); the files are then not scanned one by one.
  std::optional<LevelGain> runGain;
  // What the user should know about the level of the last file: that the
  // true-peak limit kept it below its loudness target; empty otherwise.
  std::string levelNote;
  // Gain the last convert pass applied (1.0 when unscaled), for the "Volume" cell.
  float appliedGain = 1.0f;
  // ReplayGain values of the audio the last convert pass wrote; none when
  // they were not asked for or could not be measured.
  std::optional<TrackGain> trackGain;
  // What was measured for trackGain, kept when the album's values are asked
  // for too: they are measured over the audio of all its files together.
  std::shared_ptr<LoudnessMeter> trackMeter;
  // What the sink of the last convert pass (or the join) encoded, when it
  // keeps count: the gapless description and the check of the output.
  std::optional<WrittenAudio> written;
};

// The file a pass works on. After preprocessing the path and kind are those of
// the temporary file while the display name stays the listed file's.
struct PassItem {
  std::string path;
  SourceKind kind = SourceKind::Other;
  std::string outputPath;
  std::string displayName;  // the listed file's name
  // Decode through the framework alone: the retry after a dedicated
  // back-end failed.
  bool frameworkOnly = false;
  // A cue sheet's track: only its part of the file is converted.
  const CueTrack* cueTrack = nullptr;
};

// How a pass ended. A failure's explanation goes to the job's failureDetail.
struct PassResult {
  bool ok = false;
  bool noAudio = false;  // the file was read and holds no audio
  // A dedicated back-end failed where the framework might succeed.
  bool retryWithFramework = false;
  bool writeFailed = false;  // the output could not take the audio
  bool noScratch = false;    // preprocessing could not make its temporary file
  // The source stopped on damage: the output holds what was decoded, and the
  // job's detail says how much that was.
  bool endedEarly = false;
};

// What every pass of a run shares.
struct PassContext {
  const ConversionSettings& settings;
  const OutputFormat& row;
  ConversionJob& job;
  const BackendTable& backends;
  SourceFactory& factory;
  ConversionProgress& progress;
};

// The tags the user entered, with `titleFromName` as the title when the
// settings take it from the file name, and `track` (0: none).
TagInfo CustomTags(const TagSettings& settings, const std::string& titleFromName, int track);

// Whether the outputs of this run get ReplayGain tags; of their albums too.
bool WantsReplayGain(const PassContext& context);
bool WantsAlbumGain(const PassContext& context);

// Converts one file into item.outputPath. On failure or cancel the output is
// deleted.
PassResult ConvertFile(const PassItem& item, PassContext& context);

// Appends one file to an open join sink written at `joinRate` and
// `joinChannels`; the source's own tags go to `tags` when it is given.
PassResult AppendFile(const PassItem& item, MediaSink& sink, int joinRate, int joinChannels,
                      PassContext& context, TagInfo* tags = nullptr);

// The smallest and largest sample of a file: of its 16-bit samples, or of
// its wide ones (full scale 1.0) when it has more than 16 bits.
struct Peaks {
  int16_t minimum = 0;
  int16_t maximum = 0;
  bool wide = false;
  double wideMinimum = 0.0;
  double wideMaximum = 0.0;
};

// The rate and channel count of a join's output, which every file is
// scanned at.
struct JoinShape {
  int rate = 0;
  int channels = 0;
};

// Finds the file's peaks; with a meter, measures its loudness in the same
// read (a scan that fails leaves the meter as it was). The file is measured
// as it will be written: within the skip and length windows, folded or with
// one channel picked, at the output rate (the join's shape when `join` is
// given, otherwise what the row chooses for this file), before any gain.
PassResult NormalizeScan(const PassItem& item, PassContext& context, Peaks& peaks,
                         LoudnessMeter* meter = nullptr, const JoinShape* join = nullptr);

// The loudness target of the settings in LUFS (stored in whole LUFS, kept
// within -40..-5).
double LoudnessTarget(const ConversionSettings& settings);

// The gain that brings a file's peaks to full scale; -1 when the peaks do not
// allow one.
float NormalizeGain(int16_t minimum, int16_t maximum);
float NormalizeGain(const Peaks& peaks);

// Copies the decoded PCM of a CD track or a RIFF-wrapped DTS stream into a
// temporary raw file, whose path it stores in item.outputPath.
PassResult PreprocessDts(PassItem& item, PassContext& context);

}  // namespace quillo
