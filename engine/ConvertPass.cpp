#include "engine/ConvertPass.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/BlockLoop.h"
#include "engine/media/FileList.h"
#include "engine/media/PathName.h"
#include "engine/FileProgress.h"
#include "engine/output/LoudnessMeter.h"
#include "engine/MeasuredSink.h"

namespace quillo {

const char* const kSkipTooLongDetail =
    "Length of the file is shorter than skipping length set at Options -> General";
const char* const kConvertLengthDetail =
    "Length to convert set at Options -> General must be greater than 0";
const char* const kNoSamplesDetail = "The file opens, but no audio could be decoded from it";

namespace {

bool IsRenderedKind(SourceKind kind) {
  return kind == SourceKind::Module || kind == SourceKind::Midi;
}

// Removes a failed output, never the source itself.
void DeleteOutput(const std::string& output, const std::string& source) {
  if (output.empty() || SameFile(output, source)) return;
  std::error_code ec;
  std::filesystem::remove(output, ec);
}

// Opens the source of a pass and notes in `result` whether a failure may be
// retried and whether the file has audio; null on failure. A rate of 0 means
// no audio. A rate no real recording has comes from a damaged header:
// converted at its word, a few kilobytes would become hours of audio.
std::unique_ptr<MediaSource> OpenSource(const PassItem& item, PassContext& context, int renderRate,
                                        PassResult& result) {
  OpenedSource opened =
      context.factory.Open(item.path, item.kind, renderRate, true, item.frameworkOnly);
  result.retryWithFramework = opened.dedicated;
  result.noAudio = opened.noAudio;
  if (!opened.detail.empty()) context.job.failureDetail = opened.detail;
  std::unique_ptr<MediaSource> source = std::move(opened.source);
  if (!source) return nullptr;
  const int rate = source->GetSampleRate();
  if (rate <= 0) {
    source->Close();
    result.noAudio = true;
    return nullptr;
  }
  if (!IsSaneSampleRate(rate)) {
    source->Close();
    context.job.failureDetail = UnsupportedRateDetail(rate);
    return nullptr;
  }
  return source;
}

// The source's own tags. For WAV files the RIFF INFO reader's fields win (it
// knows track numbers and numbered genres); the library's tags, an ID3 chunk
// for example, fill the fields the INFO list lacks.
bool SourceTags(const PassItem& item, const PassContext& context, MediaSource& source,
                TagInfo& tags) {
  const bool found = source.ReadTags(tags);
  // Whatever reader a source has, no text goes on longer than a real tag.
  CapTagTexts(tags);
  if (item.kind != SourceKind::Wave || !context.backends.readWaveInfo) return found;
  TagInfo info;
  if (!context.backends.readWaveInfo(item.path, info)) return found;
  CapTagTexts(info);
  for (auto field :
       {&TagInfo::title, &TagInfo::artist, &TagInfo::album, &TagInfo::year, &TagInfo::genre,
        &TagInfo::comment, &TagInfo::track, &TagInfo::composer, &TagInfo::copyright}) {
    if (!(info.*field).empty()) tags.*field = std::move(info.*field);
  }
  return true;
}

// The folder for scratch files: the system's temporary folder, or, when that
// is not a folder, the folder TMPDIR names anyway, so that creating the file
// there fails with the system's reason.
std::filesystem::path ScratchFolder() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (!ec) return folder;
  const char* named = std::getenv("TMPDIR");
  return named != nullptr && *named != '\0' ? named : "/tmp";
}

void SetTags(MediaSink& sink, const PassItem& item, PassContext& context, MediaSource& source) {
  const ConversionSettings& settings = context.settings;
  if (!context.row.carriesTags) return;
  if (settings.id3TagType == TagMode::Custom) {
    int track = 0;
    if (settings.tags.trackNumType == TrackNumberMode::ListPosition) track = context.job.position;
    if (settings.tags.trackNumType == TrackNumberMode::Custom) track = settings.tags.customTrackNum;
    TagInfo tags = CustomTags(settings.tags, StemPart(item.displayName), track);
    sink.SetTags(tags);
  } else if (settings.id3TagType == TagMode::FromSource) {
    TagInfo tags;
    if (SourceTags(item, context, source, tags)) {
      tags.track = TrackText(TrackNumberFromText(tags.track));
      sink.SetTags(tags);
    }
  }
}

// Skip and length windows in source frames, from the settings. False when the
// file is known to be shorter than the skip.
bool Windows(const ConversionSettings& settings, MediaSource& source, BlockRoute& route) {
  const int rate = source.GetSampleRate();
  if (settings.enableSkipLength && settings.skipLength != 0) {
    // A source that cannot tell its length is not refused here; it fails
    // only if it really ends inside the skipped part.
    const uint64_t durationMs = static_cast<uint64_t>(source.GetDurationSeconds()) * 1000;
    if (durationMs > 0 && static_cast<uint32_t>(settings.skipLength) >= durationMs) return false;
    route.skipFrames = static_cast<int64_t>(rate * (settings.skipLength * 0.001));
  }
  if (settings.enableConvertLength && settings.convertLength > 0)
    route.lengthFrames = static_cast<int64_t>(rate * (settings.convertLength * 0.001));
  return true;
}

// A length window of no time at all (a hand-edited negative length) would
// make an empty output.
bool LengthWindowValid(const ConversionSettings& settings) {
  return !settings.enableConvertLength || settings.convertLength >= 0;
}

// The gain of this file, also recorded as the job's applied gain.
void ChooseGain(PassContext& context, BlockRoute& route) {
  const ConversionSettings& settings = context.settings;
  context.job.appliedGain = 1.0f;
  const bool scanned =
      settings.volumeType == VolumeMode::Normalize || settings.volumeType == VolumeMode::Loudness;
  if (scanned && context.job.normalizeGain > 0.0f) {
    route.gain = context.job.normalizeGain;
    route.applyGain = true;
  } else if (settings.volumeType == VolumeMode::Manual && settings.volume != 100) {
    route.gain = static_cast<float>(settings.volume) * 0.01f;
    route.applyGain = true;
  }
  if (route.applyGain) context.job.appliedGain = route.gain;
}

// The channel taken alone: 1 left, 2 right, 0 none (a stored mode that is
// neither; the sink then takes the left channel of the pair).
int PickMode(const ConversionSettings& settings) {
  if (settings.monoType == MonoMixMode::LeftOnly) return 1;
  if (settings.monoType == MonoMixMode::RightOnly) return 2;
  return 0;
}

// The file ends before the skipped part does: no retry would help.
void FailSkip(PassContext& context, PassResult& result) {
  result.retryWithFramework = false;
  context.job.failureDetail = kSkipTooLongDetail;
}

// The output could not be written: a full disk or a lost device, which no
// other decoder would change.
void FailWrite(PassContext& context, const std::string& reason, PassResult& result) {
  result.retryWithFramework = false;
  result.writeFailed = true;
  context.job.failureDetail = reason.empty() ? "The output file could not be written" : reason;
}

// Opens the source of a convert or append pass and fills the route's source
// side and windows; null when the file cannot be converted.
std::unique_ptr<MediaSource> OpenForConversion(const PassItem& item, PassContext& context,
                                               BlockRoute& route, PassResult& result) {
  std::unique_ptr<MediaSource> source =
      OpenSource(item, context, RenderRate(context.row, context.settings), result);
  if (!source) return nullptr;
  if (!LengthWindowValid(context.settings)) {
    source->Close();
    result.retryWithFramework = false;
    context.job.failureDetail = kConvertLengthDetail;
    return nullptr;
  }
  route.sourceRate = source->GetSampleRate();
  route.sourceChannels = source->GetChannels();
  route.stopAtProgressTotal = IsRenderedKind(item.kind);
  if (!Windows(context.settings, *source, route)) {
    source->Close();
    FailSkip(context, result);
    return nullptr;
  }
  return source;
}

SinkCreator SinksOf(const BackendTable& backends) {
  return [&backends](FormatBackend backend) { return backends.MakeSink(backend); };
}

}  // namespace

bool WantsReplayGain(const PassContext& context) {
  return context.settings.writeReplayGain && context.row.carriesTags &&
         context.settings.id3TagType != TagMode::None;
}

int RenderRate(const OutputFormat& row, const ConversionSettings& settings) {
  if (row.formatId == format_id::kAmr) return settings.amrType == AmrBand::Wide ? 16000 : 8000;
  if (row.formatId == format_id::kAwb) return 16000;
  if (row.autoEncParam) return 44100;
  return row.sampleRate > 0 ? row.sampleRate : 44100;
}

TagInfo CustomTags(const TagSettings& settings, const std::string& titleFromName, int track) {
  TagInfo tags{settings.title,   settings.artist, settings.album,
               settings.year,    settings.genre,  settings.comment,
               TrackText(track), settings.composer, settings.copyright};
  if (settings.titleAsFileName) tags.title = titleFromName;
  return tags;
}

PassResult ConvertFile(const PassItem& item, PassContext& context) {
  PassResult result;
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;

  std::optional<OutputSelection> output =
      SelectOutput(context.row, route.sourceRate, route.sourceChannels,
                   RenderRate(context.row, context.settings), SelectionMode::PerFile,
                   context.settings, SinksOf(context.backends), context.backends.windowsMedia);
  if (!output) {
    source->Close();
    result.retryWithFramework = false;
    return result;
  }
  route.outputRate = output->rate;
  route.outputChannels = output->channels;
  const bool mixToMono =
      output->channels < route.sourceChannels && context.settings.monoType == MonoMixMode::Average;
  if (output->pickChannel) route.pickChannel = PickMode(context.settings);
  // The Windows Media writer converts the rate itself.
  if (context.row.backend != FormatBackend::WindowsMedia)
    route.resample = output->rate != route.sourceRate || mixToMono;

  MediaSink& sink = *output->sink;
  SetTags(sink, item, context, *source);
  sink.SetPath(item.outputPath);
  if (!sink.Open()) {
    source->Close();
    const std::string reason = sink.ErrorText();
    if (!reason.empty()) context.job.failureDetail = reason;
    output->sink.reset();
    DeleteOutput(item.outputPath, item.path);
    result.retryWithFramework = false;
    return result;
  }
  ChooseGain(context, route);

  // ReplayGain values are measured on the samples as they go to the encoder.
  context.job.trackGain.reset();
  std::optional<MeasuredSink> measured;
  if (WantsReplayGain(context))
    measured.emplace(sink, route.resample ? route.outputRate : route.sourceRate,
                     route.outputChannels);
  MediaSink& target = measured ? static_cast<MediaSink&>(*measured) : sink;
  const LoopEnd end =
      RunBlockLoop(*source, target, route, context.progress, "Converting", item.displayName);
  source->Close();
  if (measured) context.job.trackGain = measured->Gain();
  const bool closed = sink.Close();
  if (end == LoopEnd::WriteFailed || (end == LoopEnd::Finished && !closed))
    FailWrite(context, sink.ErrorText(), result);
  output->sink.reset();

  if (end == LoopEnd::SkipNotReached) FailSkip(context, result);
  if (end == LoopEnd::NothingRead) context.job.failureDetail = kNoSamplesDetail;
  if (end != LoopEnd::Finished || !closed) {
    DeleteOutput(item.outputPath, item.path);
    return result;
  }
  // The whole 64-bit size counts: a 4 GiB output is not empty.
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(item.outputPath, ec);
  if (ec || size == 0) {
    context.job.failureDetail = ec ? ec.message() : "The output file is empty";
    DeleteOutput(item.outputPath, item.path);
    return result;
  }
  result.ok = true;
  return result;
}

PassResult AppendFile(const PassItem& item, MediaSink& sink, int joinRate, int joinChannels,
                      PassContext& context) {
  PassResult result;
  BlockRoute route;
  std::unique_ptr<MediaSource> source = OpenForConversion(item, context, route, result);
  if (!source) return result;
  route.outputRate = joinRate;
  route.outputChannels = joinChannels;
  const bool fewerChannels = joinChannels < route.sourceChannels;
  const bool average = context.settings.monoType == MonoMixMode::Average;
  route.resample = route.sourceRate != joinRate || (fewerChannels && average);
  if (fewerChannels && !average) route.pickChannel = PickMode(context.settings);
  ChooseGain(context, route);

  const LoopEnd end =
      RunBlockLoop(*source, sink, route, context.progress, "Converting", item.displayName);
  source->Close();
  if (end == LoopEnd::SkipNotReached) FailSkip(context, result);
  if (end == LoopEnd::NothingRead) context.job.failureDetail = kNoSamplesDetail;
  if (end == LoopEnd::WriteFailed) FailWrite(context, sink.ErrorText(), result);
  result.ok = end == LoopEnd::Finished;
  return result;
}

PassResult NormalizeScan(const PassItem& item, PassContext& context, Peaks& peaks,
                         LoudnessMeter* meter) {
  PassResult result;
  std::unique_ptr<MediaSource> source =
      OpenSource(item, context, RenderRate(context.row, context.settings), result);
  if (!source) return result;
  // The samples come as one channel or as a pair.
  if (meter != nullptr &&
      !meter->StartFile(source->GetSampleRate(), source->GetChannels() == 2 ? 2 : 1))
    meter = nullptr;
  // A scan that ends early takes its part measurement back out.
  struct MeterGuard {
    LoudnessMeter* meter;
    bool keep = false;
    ~MeterGuard() {
      if (meter != nullptr && !keep) meter->DropFile();
    }
  } guard{meter};
  int16_t minimum = 0;
  int16_t maximum = 0;
  std::vector<int16_t> left(kMaxBlockFrames);
  std::vector<int16_t> right(kMaxBlockFrames);
  const bool stereo = source->GetChannels() == 2;
  const uint64_t total = source->GetProgressTotal();
  const bool rendered = IsRenderedKind(item.kind);
  FileProgress progress(context.progress, total, "Normalizing", item.displayName);

  bool readSomething = false;
  for (uint64_t block = 0;; ++block) {
    const int frames = source->Read(left.data(), stereo ? right.data() : nullptr);
    if (frames <= 0) break;
    readSomething = true;
    if (meter != nullptr) meter->Add(left.data(), stereo ? right.data() : nullptr, frames);
    for (int i = 0; i < frames; ++i) {
      if (left[i] < minimum) minimum = left[i];
      if (left[i] > maximum) maximum = left[i];
    }
    if (stereo)
      for (int i = 0; i < frames; ++i) {
        if (right[i] < minimum) minimum = right[i];
        if (right[i] > maximum) maximum = right[i];
      }
    const uint64_t position = source->GetProgressPosition();
    if (block % 3 == 0) {
      progress.Update(position);
      context.progress.Pump();
      if (context.progress.IsCancelled()) {
        source->Close();
        return result;
      }
    }
    if (rendered && position >= total) break;
  }
  source->Close();
  if (readSomething) progress.Finish();
  peaks = {minimum, maximum};
  result.ok = readSomething;
  guard.keep = readSomething;
  return result;
}

double LoudnessTarget(const ConversionSettings& settings) {
  return std::clamp(settings.loudnessTarget, -40, -5);
}

float NormalizeGain(int16_t minimum, int16_t maximum) {
  if (minimum < 0 && minimum >= -32762 && maximum > 0 && maximum < 32762) {
    const float down = 32768.0f / static_cast<float>(-minimum);
    const float up = 32767.0f / static_cast<float>(maximum);
    return down < up ? down : up;
  }
  return -1.0f;
}

PassResult PreprocessDts(PassItem& item, PassContext& context) {
  PassResult result;
  std::unique_ptr<MediaSource> source = OpenSource(item, context, 44100, result);
  if (!source) return result;
  std::unique_ptr<MediaSink> writerHolder =
      context.backends.scratchWriter ? context.backends.scratchWriter() : nullptr;
  if (!writerHolder) {
    source->Close();
    return result;
  }
  MediaSink& writer = *writerHolder;

  // The scratch file is created exclusively, never by guessing a free name.
  // Without it the file cannot be converted: it fails with the reason (a
  // TMPDIR that names a missing folder, a full disk) and the run goes on.
  std::string path = (ScratchFolder() / "quilloXXXXXX.dts").string();
  const int fd = mkstemps(path.data(), 4);
  if (fd < 0) {
    context.job.failureDetail = "Failed to create a temporary file in \"" +
                                ScratchFolder().string() + "\" (" + std::strerror(errno) + ")";
    result.noScratch = true;
    source->Close();
    return result;
  }
  close(fd);
  item.outputPath = path;

  writer.SetChannels(source->GetChannels());
  writer.SetPath(path);
  if (!writer.Open()) {
    source->Close();
    DeleteOutput(path, item.path);
    return result;
  }
  BlockRoute route;
  route.sourceRate = route.outputRate = source->GetSampleRate();
  route.sourceChannels = route.outputChannels = source->GetChannels();
  const LoopEnd end =
      RunBlockLoop(*source, writer, route, context.progress, "Preprocessing", item.displayName);
  source->Close();
  const bool closed = writer.Close();
  if (end == LoopEnd::WriteFailed || (end == LoopEnd::Finished && !closed))
    FailWrite(context, writer.ErrorText(), result);
  std::error_code ec;
  if (end != LoopEnd::Finished || !closed || std::filesystem::file_size(path, ec) == 0 || ec) {
    DeleteOutput(path, item.path);
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace quillo
