#include "backends/bass/AudioLibrary.h"

#include <fluidsynth.h>

#include "backends/bass/CdTrack.h"
#include "backends/bass/FfmpegStream.h"
#include "backends/bass/FormatSniff.h"
#include "backends/bass/MidiStream.h"
#include "backends/bass/ModuleStream.h"
#include "backends/bass/Mpg123Stream.h"
#include "backends/bass/SndfileStream.h"
#include "backends/bass/SoundFont.h"
#include "backends/bass/WavPackStream.h"
#include "base/RegularFile.h"

namespace quillo::audio {

namespace {

constexpr size_t kHeadBytes = 64 * 1024;

unsigned Bit(Plugin plugin) { return 1u << static_cast<unsigned>(plugin); }

}  // namespace

// The synthesizer would report every odd sound font entry on the console;
// the library reports failures by its results instead.
void AudioLibrary::QuietSynthesizerLog() {
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
}

bool AudioLibrary::Init() {
  started_ = true;
  return true;
}

void AudioLibrary::Free() {
  started_ = false;
  PluginFree(0);
  std::lock_guard lock(fontMutex_);
  defaultFont_.reset();
}

int AudioLibrary::PluginLoad(std::string_view name) {
  for (size_t i = 0; i < kStartupPlugins.size(); ++i) {
    if (kStartupPlugins[i] == name) {
      plugins_ |= 1u << i;
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

void AudioLibrary::PluginFree(int handle) {
  if (handle == 0)
    plugins_ = 0;
  else if (handle > 0 && handle <= static_cast<int>(kStartupPlugins.size()))
    plugins_ &= ~(1u << (handle - 1));
}

bool AudioLibrary::HasPlugin(Plugin plugin) const { return (plugins_ & Bit(plugin)) != 0; }

// Nothing but regular files is opened: reading a FIFO or a device would block
// the run for ever.
std::unique_ptr<AudioStream> AudioLibrary::StreamCreateFile(const std::string& path) const {
  if (!started_ || !RegularFileProblem(path).empty()) return nullptr;
  const std::vector<uint8_t> head = ReadFileHead(path, 0, kHeadBytes);
  if (head.empty()) return nullptr;
  const size_t id3 = Id3v2TagSize(head);
  const std::vector<uint8_t> audioHead = id3 > 0 ? ReadFileHead(path, id3, kHeadBytes) : head;

  // Formats with a signature first; their handler alone decides. Then the
  // PCM containers, and the two formats recognised only by their frame
  // headers last, since frame headers can appear by chance in other data.
  using Container = FfmpegStream::Container;
  // A container of FFmpeg's decoder whose handler must be loaded; only MP4
  // decides by the codec inside.
  const auto decoded = [&path, this](Plugin plugin, Container container) {
    return HasPlugin(plugin) ? FfmpegStream::Open(path, container, false, false) : nullptr;
  };
  if (IsCdaHead(head)) return HasPlugin(Plugin::Cd) ? CdTrackStream::Open(path, head) : nullptr;
  // FLAC through FFmpeg's decoder, which passes over damaged frames where
  // libsndfile would end the stream at the first one.
  if (IsFlacHead(audioHead)) return decoded(Plugin::Flac, Container::Flac);
  if (IsOggFlacHead(head)) return decoded(Plugin::Flac, Container::OggFlac);
  if (IsWavPackHead(head)) return HasPlugin(Plugin::WavPack) ? WavPackStream::Open(path) : nullptr;
  if (IsMp4Head(head))
    return FfmpegStream::Open(path, Container::Mp4, HasPlugin(Plugin::Aac),
                              HasPlugin(Plugin::Alac));
  if (IsAdxHead(head)) return decoded(Plugin::Adx, Container::Adx);
  // Only files with a container signature reach the PCM reader: it would
  // take MPEG audio without trimming encoder delay and padding.
  if (HasPcmContainerSignature(head)) {
    if (auto stream = SndfileStream::Open(path, head)) return stream;
  }
  if (LooksLikeAdts(audioHead)) return decoded(Plugin::Aac, Container::Adts);
  if (LooksLikeMpegAudio(audioHead)) return Mpg123Stream::Open(path);
  return nullptr;
}

std::unique_ptr<AudioStream> AudioLibrary::MusicLoad(const std::string& path, int rate) const {
  if (!started_ || !RegularFileProblem(path).empty()) return nullptr;
  return ModuleStream::Open(path, rate);
}

std::unique_ptr<AudioStream> AudioLibrary::MidiStreamCreateFile(const std::string& path,
                                                                int rate) const {
  if (!started_ || !RegularFileProblem(path).empty()) return nullptr;
  return MidiStream::Open(path, rate, DefaultSoundFontPath());
}

std::shared_ptr<const SoundFont> AudioLibrary::MidiFontInit(const std::string& path) {
  return SoundFont::Load(path);
}

bool AudioLibrary::MidiStreamSetDefaultFont(std::shared_ptr<const SoundFont> font) {
  if (!font) return false;
  std::lock_guard lock(fontMutex_);
  defaultFont_ = std::move(font);
  return true;
}

bool AudioLibrary::LoadDefaultSoundFont() {
  const std::string path = FindSoundFont(ProgramDataFolders(), kSystemSoundFontFolder);
  if (path.empty()) return false;
  return MidiStreamSetDefaultFont(MidiFontInit(path));
}

bool AudioLibrary::SoundFontLoaded() const {
  std::lock_guard lock(fontMutex_);
  return defaultFont_ != nullptr;
}

std::string AudioLibrary::DefaultSoundFontPath() const {
  std::lock_guard lock(fontMutex_);
  return defaultFont_ ? defaultFont_->Path() : std::string();
}

}  // namespace quillo::audio
