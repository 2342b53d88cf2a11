#include "engine/SourceFactory.h"

#include "engine/RegularFile.h"
#include "engine/UserPrompts.h"
#include "engine/WindowsMediaRuntime.h"

namespace quillo {

const char* const kUnsupportedFileDetail =
    "Quillo could not decode this file. Please send it to support@quillo.app so that we can "
    "add support for it.";
const char* const kWindowsMediaQuestion =
    "Dear user, WMA file requires Windows Media Format 9 Series Runtime.\nUnfortunately, the "
    "component isn't available on your computer.\n\nDo you want to download and install it now?";
const char* const kWindowsMediaDownloadLocation = "https://quillo.app/help/windows-media";

std::vector<SourceBackend> SourceCandidates(SourceKind kind) {
  using B = SourceBackend;
  switch (kind) {
    // The audio library decodes these natively; the framework catches what it cannot open.
    case SourceKind::Mp3:
    case SourceKind::Wave:
    case SourceKind::Module:
    case SourceKind::Midi:
    case SourceKind::CdAudio:
    case SourceKind::Flac:
    case SourceKind::WavPack:
    case SourceKind::Adx:
    case SourceKind::Aac:
    case SourceKind::Mpeg4:
      return {B::AudioLibrary, B::Framework};
    // Ogg files that are not Vorbis (FLAC or Opus in Ogg) go to the audio library, then FFmpeg.
    case SourceKind::Ogg:
      return {B::OggVorbis, B::AudioLibrary, B::Framework};
    case SourceKind::Au:
      return {B::Au, B::Framework};
    // AIFF variants our reader rejects may still open in the audio library.
    case SourceKind::Aiff:
      return {B::Aiff, B::AudioLibrary, B::Framework};
    case SourceKind::Amr:
      return {B::Amr, B::Framework};
    case SourceKind::WindowsMedia:
      return {B::WindowsMedia, B::Framework};
    case SourceKind::Other:
    case SourceKind::Dts:
      break;
  }
  return {B::Framework};
}

std::vector<SourceBackend> SourceFactory::Chain(SourceKind kind) {
  if (job_.retryWithFramework) return {SourceBackend::Framework};
  std::vector<SourceBackend> chain = SourceCandidates(kind);
  if (chain.front() == SourceBackend::WindowsMedia) {
    const bool loaded =
        windowsMedia_ != nullptr && (windowsMedia_->IsLoaded() || windowsMedia_->Load());
    if (!loaded) {
      if (prompts_ != nullptr && prompts_->AskYesNo(kWindowsMediaQuestion))
        prompts_->OpenLocation(kWindowsMediaDownloadLocation);
      return {SourceBackend::Framework};
    }
  }
  return chain;
}

std::unique_ptr<MediaSource> SourceFactory::Open(const std::string& path, SourceKind kind,
                                                 int renderRate, bool fullDecoding, int* hasAudio) {
  // A missing file, a folder or a FIFO: no decoder would help, and the user
  // needs the system's reason rather than an offer to send the file in.
  const std::string problem = RegularFileProblem(path);
  if (!problem.empty()) {
    job_.retryWithFramework = false;
    job_.failureDetail = problem;
    return nullptr;
  }
  const std::vector<SourceBackend> chain = Chain(kind);
  for (size_t i = 0; i < chain.size(); ++i) {
    const SourceBackend backend = chain[i];
    job_.retryWithFramework = backend != SourceBackend::Framework;
    std::unique_ptr<MediaSource> source = create_(backend, fullDecoding);
    if (source->Open(path, renderRate)) return source;
    // The audio library as a fallback does not decide whether the file has audio.
    const bool audioLibraryFallback = backend == SourceBackend::AudioLibrary && i > 0;
    if (hasAudio != nullptr && !audioLibraryFallback) *hasAudio = source->HasAudioStream();
  }
  if (fullDecoding) job_.failureDetail = kUnsupportedFileDetail;
  return nullptr;
}

}  // namespace quillo
