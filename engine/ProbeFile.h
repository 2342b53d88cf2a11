#pragma once

#include <string>

#include "engine/FileList.h"
#include "engine/SourceFactory.h"

namespace quillo {

// The detail shown for a ".cda" file that could not be opened.
extern const char* const kCdaOnHardDiskDetail;

struct ProbeResult {
  enum class Status { Added, Duplicate, Failed };
  Status status = Status::Failed;
  int row = -1;  // the new row's index when Added
};

// Reads a file's properties and appends it to `list`: duplicates are
// refused, the kind comes from the extension, a probe-only source is opened.
ProbeResult ProbeFile(const std::string& path, FileList& list, SourceFactory& factory,
                      ConversionJob& job);

}  // namespace quillo
