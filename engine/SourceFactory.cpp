#include "engine/SourceFactory.h"

#include "base/RegularFile.h"
#include "engine/WindowsMediaSupport.h"

namespace quillo {

const char* const kUnsupportedFileDetail =
    "Quillo could not decode this file. Please send it to support@quillo.app so that we can "
    "add support for it.";

std::vector<SourceBackend> SourceFactory::Chain(SourceKind kind, bool frameworkOnly) {
  if (frameworkOnly) return {SourceBackend::Framework};
  std::vector<SourceBackend> chain = backends_.Candidates(kind);
  if (chain.front() == SourceBackend::WindowsMedia &&
      !EnsureWindowsMediaRuntime(backends_.windowsMedia, prompts_))
    return {SourceBackend::Framework};
  return chain;
}

OpenedSource SourceFactory::Open(const std::string& path, SourceKind kind, int renderRate,
                                 bool fullDecoding, bool frameworkOnly) {
  OpenedSource opened;
  // A missing file, a folder or a FIFO: no decoder would help, and the user
  // needs the system's reason rather than an offer to send the file in.
  opened.detail = RegularFileProblem(path);
  if (!opened.detail.empty()) return opened;

  const std::vector<SourceBackend> chain = Chain(kind, frameworkOnly);
  for (size_t i = 0; i < chain.size(); ++i) {
    const SourceBackend backend = chain[i];
    opened.dedicated = backend != SourceBackend::Framework;
    std::unique_ptr<MediaSource> source = backends_.MakeSource(backend, fullDecoding);
    if (!source) continue;
    if (source->Open(path, renderRate)) {
      opened.source = std::move(source);
      opened.noAudio = false;
      return opened;
    }
    // The audio library as a fallback does not decide whether the file has audio.
    const bool audioLibraryFallback = backend == SourceBackend::AudioLibrary && i > 0;
    if (!audioLibraryFallback) opened.noAudio = source->HasAudioStream() == 0;
  }
  if (fullDecoding) opened.detail = kUnsupportedFileDetail;
  return opened;
}

}  // namespace quillo
