#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/Conversion.h"

namespace quillo {

// What a front end shows while a list of paths is read. ProbeFiles calls it
// on its caller's thread only, one call after the other.
class ProbeListener {
 public:
  virtual ~ProbeListener() = default;
  // Before file `index` (from 0) of `count` is read.
  virtual void Probing(size_t index, size_t count, const std::string& path) = 0;
  // After it was read.
  virtual void Probed(const std::string& path, const ProbeResult& result) = 0;
  // Asked before each file and once after the last: true stops the loop,
  // and the files read so far stay.
  virtual bool IsCancelled() = 0;
};

// How reading a list of paths went.
struct ProbeSummary {
  bool cancelled = false;
  std::vector<std::string> failed;  // the paths that could not be read, in order
  std::string detail;               // the last failure's explanation, if one had one
};

// Reads each path into `list` with ProbeFile, in order, telling `listener`
// about each. `prompts` may be null (no questions asked).
ProbeSummary ProbeFiles(const std::vector<std::string>& paths, FileList& list,
                        const BackendTable& backends, UserPrompts* prompts,
                        ProbeListener& listener);

// The message about the paths that could not be read: at most `listed` of
// them, one a line, then "<more files>..." when there are more, and the
// detail after a blank line. Empty when `failed` is.
std::string FailedFilesMessage(const std::vector<std::string>& failed, const std::string& detail,
                               size_t listed);

}  // namespace quillo
