#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/ConversionJob.h"
#include "engine/MediaSource.h"
#include "engine/SourceKind.h"

namespace quillo {

class UserPrompts;
class WindowsMediaRuntime;

// The back-ends that can decode a file.
enum class SourceBackend {
  AudioLibrary,
  OggVorbis,
  Au,
  Aiff,
  Amr,
  WindowsMedia,
  Framework,
};

// Creates an unopened source of a back-end; `fullDecoding` false gives the
// framework's probe-only variant.
std::unique_ptr<MediaSource> CreateSource(SourceBackend backend, bool fullDecoding);

// Whether the framework reads the file's first audio stream as plain PCM (a
// RIFF file whose DTS stream it does not recognise); false when it cannot
// open the file or finds a real codec there.
bool FrameworkDecodesAsPcm(const std::string& path);

// The candidates for a kind, first choice first.
std::vector<SourceBackend> SourceCandidates(SourceKind kind);

// The failure detail set when no back-end can decode a file.
extern const char* const kUnsupportedFileDetail;
// The question asked when Windows Media support cannot be loaded.
extern const char* const kWindowsMediaQuestion;
extern const char* const kWindowsMediaDownloadLocation;

using SourceCreator = std::function<std::unique_ptr<MediaSource>(SourceBackend, bool)>;

// Opens a source for a file through its kind's chain of back-ends.
class SourceFactory {
 public:
  // `prompts` and `windowsMedia` may be null: no questions are asked and
  // Windows Media files go straight to the framework. `create` makes the
  // candidates (tests put fakes there).
  SourceFactory(ConversionJob& job, UserPrompts* prompts, WindowsMediaRuntime* windowsMedia,
                SourceCreator create = CreateSource)
      : job_(job), prompts_(prompts), windowsMedia_(windowsMedia), create_(std::move(create)) {}

  // Returns the first candidate that opens, or null. `hasAudio` receives
  // HasAudioStream of the last candidate that failed (the audio-library
  // fallback excepted) and is left alone when a candidate opens.
  std::unique_ptr<MediaSource> Open(const std::string& path, SourceKind kind, int renderRate,
                                    bool fullDecoding, int* hasAudio);

 private:
  std::vector<SourceBackend> Chain(SourceKind kind);

  ConversionJob& job_;
  UserPrompts* prompts_;
  WindowsMediaRuntime* windowsMedia_;
  SourceCreator create_;
};

}  // namespace quillo
