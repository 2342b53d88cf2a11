#pragma once

#include <memory>
#include <string>

#include "engine/BackendTable.h"
#include "engine/media/MediaSource.h"
#include "engine/media/SourceKind.h"

namespace quillo {

class UserPrompts;

// The failure detail set when no back-end can decode a file.
extern const char* const kUnsupportedFileDetail;

// What opening a file gave.
struct OpenedSource {
  std::unique_ptr<MediaSource> source;  // null when no back-end opened the file
  // A dedicated back-end opened the file (or was the last to fail): a pass
  // that fails with it may be retried through the framework.
  bool dedicated = false;
  // The file was read and holds no audio stream.
  bool noAudio = false;
  // Why nothing opened, for the user; empty when the chain has no words for it.
  std::string detail;
};

// Opens a source for a file through its kind's chain of back-ends.
class SourceFactory {
 public:
  // `prompts` may be null: no questions are asked and Windows Media files go
  // straight to the framework when their support is not there.
  SourceFactory(const BackendTable& backends, UserPrompts* prompts)
      : backends_(backends), prompts_(prompts) {}

  // Tries the kind's candidates in order (only the framework with
  // `frameworkOnly`) and returns the first that opens. `noAudio` comes from
  // the last candidate that failed, the audio-library fallback excepted.
  OpenedSource Open(const std::string& path, SourceKind kind, int renderRate, bool fullDecoding,
                    bool frameworkOnly = false);

 private:
  std::vector<SourceBackend> Chain(SourceKind kind, bool frameworkOnly);

  const BackendTable& backends_;
  UserPrompts* prompts_;
};

}  // namespace quillo
