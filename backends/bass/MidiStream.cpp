#include "backends/bass/MidiStream.h"

#include <fluidsynth.h>

#include <cmath>
#include <cstdio>

#include "backends/bass/AudioLibrary.h"
#include "backends/bass/ModuleStream.h"
#include "engine/media/RegularFile.h"

namespace quillo::audio {

namespace {

constexpr long kMaxMidiBytes = 64L * 1024 * 1024;

fluid_synth_t* Synth(void* synth) { return static_cast<fluid_synth_t*>(synth); }

std::vector<uint8_t> ReadMidiBytes(const std::string& path) {
  if (!RegularFileProblem(path).empty()) return {};
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  const long size = std::ftell(file.get());
  if (size <= 0 || size > kMaxMidiBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) return {};
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (std::fread(data.data(), 1, data.size(), file.get()) != data.size()) return {};
  return data;
}

}  // namespace

std::unique_ptr<AudioStream> MidiStream::Open(const std::string& path, int rate,
                                              const std::string& fontPath) {
  std::optional<MidiSong> song = ParseMidiFile(ReadMidiBytes(path));
  if (!song) return nullptr;
  std::unique_ptr<MidiStream> stream(new MidiStream);
  const int renderRate = RenderRate(rate, kDefaultOutputRate, 8000, 96000);

  fluid_settings_t* settings = new_fluid_settings();
  if (settings == nullptr) return nullptr;
  stream->settings_ = settings;
  fluid_settings_setnum(settings, "synth.sample-rate", renderRate);
  fluid_settings_setint(settings, "synth.threadsafe-api", 0);
  // The synthesizer's own default gain leaves a single instrument far below
  // full scale; this level keeps a full band clear of clipping in most songs.
  fluid_settings_setnum(settings, "synth.gain", 0.5);
  fluid_synth_t* synth = new_fluid_synth(settings);
  if (synth == nullptr) return nullptr;
  stream->synth_ = synth;
  if (!fontPath.empty() && fluid_synth_sfload(synth, fontPath.c_str(), 1) == FLUID_FAILED)
    return nullptr;

  stream->song_ = std::move(*song);
  stream->eventFrames_.reserve(stream->song_.events.size());
  for (const MidiSong::Event& event : stream->song_.events)
    stream->eventFrames_.push_back(static_cast<uint64_t>(std::llround(event.seconds * renderRate)));
  stream->totalFrames_ =
      static_cast<uint64_t>(std::llround(stream->song_.lengthSeconds * renderRate));
  stream->info_ = {renderRate, 2, false};
  stream->length_ = stream->totalFrames_ * 4;
  return stream;
}

MidiStream::~MidiStream() {
  if (synth_ != nullptr) delete_fluid_synth(Synth(synth_));
  if (settings_ != nullptr) delete_fluid_settings(static_cast<fluid_settings_t*>(settings_));
}

void MidiStream::Dispatch(const MidiSong::Event& event) {
  fluid_synth_t* synth = Synth(synth_);
  const int channel = event.status & 0x0F;
  switch (event.status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, channel, event.data1);
      break;
    case 0x90:
      fluid_synth_noteon(synth, channel, event.data1, event.data2);
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth, channel, event.data1, event.data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, event.data1, event.data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, event.data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, event.data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, event.data1 | (event.data2 << 7));
      break;
    case 0xF0:
      fluid_synth_sysex(synth, reinterpret_cast<const char*>(song_.sysex.data() + event.sysexStart),
                        static_cast<int>(event.sysexLength), nullptr, nullptr, nullptr, 0);
      break;
    default:
      break;
  }
}

size_t MidiStream::Decode(uint8_t* buffer, size_t bytes) {
  auto* out = reinterpret_cast<int16_t*>(buffer);
  uint64_t frames = bytes / 4;
  if (frames > totalFrames_ - frame_) frames = totalFrames_ - frame_;
  uint64_t done = 0;
  while (done < frames) {
    while (nextEvent_ < eventFrames_.size() && eventFrames_[nextEvent_] <= frame_)
      Dispatch(song_.events[nextEvent_++]);
    uint64_t chunk = frames - done;
    if (nextEvent_ < eventFrames_.size() && eventFrames_[nextEvent_] - frame_ < chunk)
      chunk = eventFrames_[nextEvent_] - frame_;
    int16_t* at = out + 2 * done;
    fluid_synth_write_s16(Synth(synth_), static_cast<int>(chunk), at, 0, 2, at, 1, 2);
    done += chunk;
    frame_ += chunk;
  }
  return static_cast<size_t>(done) * 4;
}

}  // namespace quillo::audio
