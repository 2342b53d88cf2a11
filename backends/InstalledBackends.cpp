#include "backends/InstalledBackends.h"

#include <cstdlib>

extern "C" {
#include <libavutil/log.h>
}

#include "backends/amr/AmrSink.h"
#include "backends/amr/AmrSource.h"
#include "backends/bass/BassSource.h"
#include "backends/ffmpeg/FrameworkProbe.h"
#include "backends/ffmpeg/FrameworkProbeSource.h"
#include "backends/ffmpeg/FrameworkSink.h"
#include "backends/ffmpeg/FrameworkSource.h"
#include "backends/ffmpeg/OggVorbisSource.h"
#include "backends/files/AiffSource.h"
#include "backends/files/AuSource.h"
#include "backends/files/FileStartsWith.h"
#include "backends/files/RawPcmWriter.h"
#include "backends/files/RiffInfoReader.h"
#include "backends/tags/ExtraTagWriter.h"
#include "backends/tags/PictureReader.h"
#include "backends/tags/TagReader.h"
#include "backends/wm/WmSink.h"
#include "backends/wm/WmSource.h"

namespace quillo {

namespace {

using B = SourceBackend;

// Lowers FFmpeg's console log to fatal messages. Broken or unusual input
// makes the demuxers and decoders report every damaged packet; Quillo reports
// failures through its own status texts instead.
void QuietFfmpegLog() {
  // QUILLO_FFMPEG_LOG=1 keeps FFmpeg's error messages, for diagnosing a file.
  const char* keep = std::getenv("QUILLO_FFMPEG_LOG");
  av_log_set_level(keep != nullptr && *keep == '1' ? AV_LOG_ERROR : AV_LOG_FATAL);
}

// The candidates of each kind, first choice first; the framework ends every
// chain because it opens nearly anything, and it is the retry of every pass
// that a dedicated back-end failed. Kinds without a row (video, DTS and every
// unknown extension) go to the framework alone.
std::map<SourceKind, std::vector<SourceBackend>> CandidateChains() {
  // The audio library decodes these natively, with gapless MP3, module and
  // MIDI rendering and CD tracks that the framework lacks.
  const std::vector<SourceBackend> library = {B::AudioLibrary, B::Framework};
  return {
      {SourceKind::Mp3, library},
      {SourceKind::Wave, library},
      {SourceKind::Module, library},
      {SourceKind::Midi, library},
      {SourceKind::CdAudio, library},
      {SourceKind::Flac, library},
      {SourceKind::WavPack, library},
      {SourceKind::Adx, library},
      {SourceKind::Aac, library},
      {SourceKind::Mpeg4, library},
      // Ogg files that are not Vorbis (FLAC or Opus in Ogg) go to the audio
      // library, then the framework.
      {SourceKind::Ogg, {B::OggVorbis, B::AudioLibrary, B::Framework}},
      // Our reader knows the G.72x and DWVW encodings the others lack.
      {SourceKind::Au, {B::Au, B::Framework}},
      // AIFF variants our reader rejects may still open in the audio library.
      {SourceKind::Aiff, {B::Aiff, B::AudioLibrary, B::Framework}},
      {SourceKind::Amr, {B::Amr, B::Framework}},
      // The Windows Media source, asked only when its support loads, knows
      // the attributes (WM/Year) and the stream's own time; a file that is
      // not ASF inside goes on to the framework.
      {SourceKind::WindowsMedia, {B::WindowsMedia, B::Framework}},
  };
}

}  // namespace

InstalledBackends::InstalledBackends() {
  QuietFfmpegLog();
  audio::AudioLibrary::QuietSynthesizerLog();
  if (library_.Init())
    for (std::string_view name : audio::kStartupPlugins) library_.PluginLoad(name);

  table_.candidates = CandidateChains();
  table_.sources = {
      {B::AudioLibrary, [this](bool) { return std::make_unique<BassSource>(library_); }},
      {B::OggVorbis, [](bool) { return std::make_unique<OggVorbisSource>(); }},
      {B::Au, [](bool) { return std::make_unique<AuSource>(); }},
      {B::Aiff, [](bool) { return std::make_unique<AiffSource>(); }},
      {B::Amr, [](bool) { return std::make_unique<AmrSource>(); }},
      {B::WindowsMedia, [this](bool) { return std::make_unique<WmSource>(windowsMedia_); }},
      {B::Framework,
       [](bool fullDecoding) -> std::unique_ptr<MediaSource> {
         // Without full decoding only the properties are read, for the file list.
         if (fullDecoding) return std::make_unique<FrameworkSource>();
         return std::make_unique<FrameworkProbeSource>();
       }},
  };
  table_.sinks = {
      {FormatBackend::Framework, [] { return MakeFrameworkSink(); }},
      {FormatBackend::Amr, [] { return std::make_unique<AmrSink>(); }},
      {FormatBackend::WindowsMedia, [this] { return std::make_unique<WmSink>(windowsMedia_); }}};
  table_.scratchWriter = [] { return std::make_unique<RawPcmWriter>(); };
  table_.readWaveInfo = ReadRiffInfoTags;
  // The tag library reads tags without touching the audio; FFmpeg, much
  // slower (it probes the streams), is asked only for the containers the
  // library does not know (Matroska, AU, video files).
  table_.readTags = [](const std::string& path, TagInfo& tags) {
    bool known = false;
    if (audio::ReadTagInfo(path, tags, &known)) return true;
    return !known && FrameworkReadsTags(path, tags);
  };
  table_.wrapsDtsAsPcm = [](const std::string& path) {
    return FileStartsWith("RIFF", 4, path) && FrameworkSeesPcm(path);
  };
  table_.readPicture = ReadCoverPicture;
  table_.writeExtraTags = WriteExtraTags;
  table_.soundFont = &soundFont_;
  table_.windowsMedia = &windowsMedia_;
}

}  // namespace quillo
