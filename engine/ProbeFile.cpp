#include "engine/Conversion.h"
#include "engine/ConversionRun.h"
#include "engine/SourceFactory.h"

namespace quillo {

const char* const kCdaOnHardDiskDetail =
    "IMPORTANT: please DO NOT add CDA file from hard drive, but add CDA file from CD drive.";

std::optional<FileItem> ProbeItem(const std::string& path, const BackendTable& backends,
                                  UserPrompts* prompts, ProbeResult& result) {
  const SourceKind kind = SourceKindFromPath(path);
  SourceFactory factory(backends, prompts);
  OpenedSource opened = factory.Open(path, kind, 0, false);
  result.detail = opened.detail;
  std::unique_ptr<MediaSource> source = std::move(opened.source);
  // A file without sound (a picture, a silent video) is not listed: it
  // could only fail to convert.
  if (opened.noAudio || (source && source->HasAudioStream() == 0)) {
    result.noAudio = true;
    result.detail = kNoAudioStatus;
    return std::nullopt;
  }
  if (!source) {
    if (kind == SourceKind::CdAudio) result.detail = kCdaOnHardDiskDetail;
    return std::nullopt;
  }

  // A rate no recording has comes from a damaged header (rendered kinds
  // report 0 until they know the output rate).
  const int rate = source->GetSampleRate();
  if (rate > 0 && !IsSaneSampleRate(rate)) {
    result.detail = UnsupportedRateDetail(rate);
    return std::nullopt;
  }

  FileItem item;
  item.path = path;
  item.sourceKind = kind;
  item.duration = static_cast<uint32_t>(source->GetDurationSeconds());
  item.sampleRate = source->GetSampleRate();
  item.bitRate = source->GetBitRateKbps();
  item.channels = source->GetSourceChannels();
  item.sampleFormat = source->GetSampleFormat();
  return item;
}

ProbeResult ProbeFile(const std::string& path, FileList& list, const BackendTable& backends,
                      UserPrompts* prompts) {
  ProbeResult result;
  const std::string key = FileListKey(path);
  if (list.ContainsKey(key)) {
    result.status = ProbeResult::Status::Duplicate;
    return result;
  }
  std::optional<FileItem> item = ProbeItem(path, backends, prompts, result);
  if (!item) return result;
  result.status = ProbeResult::Status::Added;
  result.row = list.Append(std::move(*item), key);
  return result;
}

}  // namespace quillo
