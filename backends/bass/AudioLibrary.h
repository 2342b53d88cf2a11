#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "backends/bass/AudioStream.h"

namespace quillo::audio {

class SoundFont;

// The format handlers beyond the built-in PCM containers and MPEG audio.
enum class Plugin : unsigned { Flac, Cd, WavPack, Aac, Adx, Alac };

// The handlers loaded at start-up, by name, in this order.
inline constexpr std::array<std::string_view, 6> kStartupPlugins = {"flac", "cd",  "wavpack",
                                                                    "aac",  "adx", "alac"};

// The rate modules and MIDI files are rendered at when none is asked for.
inline constexpr int kDefaultOutputRate = 44100;

// The audio library: decoding-only streams from files, tracker modules and
// MIDI files rendered at a chosen rate, its format handlers and the default
// sound font of MIDI streams. The program makes one where it starts and hands
// it to whatever decodes; once set up it is safe to read from several threads.
class AudioLibrary {
 public:
  AudioLibrary() = default;
  ~AudioLibrary() { Free(); }
  AudioLibrary(const AudioLibrary&) = delete;
  AudioLibrary& operator=(const AudioLibrary&) = delete;

  // Starts the library; nothing opens before. Returns whether it started.
  bool Init();
  bool Started() const { return started_; }
  // Stops the library and unloads every handler and the default sound font.
  void Free();

  // Loads a handler by name; returns a nonzero handle, or 0 for a name this
  // build has no handler for (its files then fail to open here).
  int PluginLoad(std::string_view name);
  // Unloads one handler by its handle, or all of them for 0.
  void PluginFree(int handle);
  bool HasPlugin(Plugin plugin) const;

  // A decoding stream of a file in any format the library and its loaded
  // handlers read; null when none reads it.
  std::unique_ptr<AudioStream> StreamCreateFile(const std::string& path) const;
  // A tracker module rendered at `rate` (0: kDefaultOutputRate), its length
  // found by a full scan; null when the file is no module.
  std::unique_ptr<AudioStream> MusicLoad(const std::string& path, int rate) const;
  // A Standard MIDI File rendered at `rate` (0: kDefaultOutputRate) with the
  // default sound font; null when the file is no MIDI file.
  std::unique_ptr<AudioStream> MidiStreamCreateFile(const std::string& path, int rate) const;

  // Silences the synthesizer's console log; once, before any MIDI file opens.
  static void QuietSynthesizerLog();

  // Reads a sound font; null when it cannot.
  static std::shared_ptr<const SoundFont> MidiFontInit(const std::string& path);
  // Makes `font` the default font of every MIDI stream created afterwards.
  bool MidiStreamSetDefaultFont(std::shared_ptr<const SoundFont> font);
  // Finds the sound font (beside the program, else the system's General MIDI
  // font) and makes it the default font. Returns whether a font is set.
  bool LoadDefaultSoundFont();
  bool SoundFontLoaded() const;
  std::string DefaultSoundFontPath() const;

 private:
  std::atomic<bool> started_{false};
  std::atomic<unsigned> plugins_{0};
  mutable std::mutex fontMutex_;
  std::shared_ptr<const SoundFont> defaultFont_;
};

}  // namespace quillo::audio
