#include "engine/ProbeFile.h"

namespace quillo {

const char* const kCdaOnHardDiskDetail =
    "IMPORTANT: please DO NOT add CDA file from hard drive, but add CDA file from CD drive.";

ProbeResult ProbeFile(const std::string& path, FileList& list, SourceFactory& factory,
                      ConversionJob& job) {
  const std::string key = FileListKey(path);
  if (list.ContainsKey(key)) return {ProbeResult::Status::Duplicate, -1};

  const SourceKind kind = SourceKindFromPath(path);
  job.retryWithFramework = false;
  int hasAudio = 1;
  std::unique_ptr<MediaSource> source = factory.Open(path, kind, 0, false, &hasAudio);
  if (!source) {
    if (kind == SourceKind::CdAudio) job.failureDetail = kCdaOnHardDiskDetail;
    return {ProbeResult::Status::Failed, -1};
  }

  // A rate no recording has comes from a damaged header (rendered kinds
  // report 0 until they know the output rate).
  const int rate = source->GetSampleRate();
  if (rate > 0 && !IsSaneSampleRate(rate)) {
    source->Close();
    job.failureDetail = UnsupportedRateDetail(rate);
    return {ProbeResult::Status::Failed, -1};
  }

  FileItem item;
  item.path = path;
  item.sourceKind = kind;
  item.duration = static_cast<uint32_t>(source->GetDurationSeconds());
  item.sampleRate = source->GetSampleRate();
  item.bitRate = source->GetBitRateKbps();
  item.channels = source->GetSourceChannels();
  source->Close();
  return {ProbeResult::Status::Added, list.Append(std::move(item), key)};
}

}  // namespace quillo
