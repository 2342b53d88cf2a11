#include "backends/bass/MidiStream.h"

#include <fluidsynth.h>

#include <cmath>

#include "backends/bass/AudioLibrary.h"
#include "backends/bass/ModuleStream.h"
#include "engine/media/ByteReader.h"

namespace quillo::audio {

constexpr uint64_t kMaxMidiBytes = 64 * 1024 * 1024;

std::unique_ptr<AudioStream> MidiStream::Open(const std::string& path, int rate,
                                              const std::string& fontPath) {
  std::optional<MidiSong> song = ParseMidiFile(ReadWholeFile(path, kMaxMidiBytes));
  if (!song) return nullptr;
  std::unique_ptr<MidiStream> stream(new MidiStream);
  const int renderRate = RenderRate(rate, kDefaultOutputRate, 8000, 96000);

  stream->settings_.reset(new_fluid_settings());
  fluid_settings_t* settings = stream->settings_.get();
  if (settings == nullptr) return nullptr;
  fluid_settings_setnum(settings, "synth.sample-rate", renderRate);
  fluid_settings_setint(settings, "synth.threadsafe-api", 0);
  // The synthesizer's own default gain leaves a single instrument far below
  // full scale; this level keeps a full band clear of clipping in most songs.
  fluid_settings_setnum(settings, "synth.gain", 0.5);
  stream->synth_.reset(new_fluid_synth(settings));
  fluid_synth_t* synth = stream->synth_.get();
  if (synth == nullptr) return nullptr;
  if (!fontPath.empty() && fluid_synth_sfload(synth, fontPath.c_str(), 1) == FLUID_FAILED)
    return nullptr;

  stream->song_ = std::move(*song);
  stream->eventFrames_.reserve(stream->song_.events.size());
  for (const MidiSong::Event& event : stream->song_.events)
    stream->eventFrames_.push_back(static_cast<uint64_t>(std::llround(event.seconds * renderRate)));
  stream->totalFrames_ =
      static_cast<uint64_t>(std::llround(stream->song_.lengthSeconds * renderRate));
  stream->info_ = {renderRate, 2, false, {}};
  stream->length_ = stream->totalFrames_ * 4;
  return stream;
}

void MidiStream::Dispatch(const MidiSong::Event& event) {
  fluid_synth_t* synth = synth_.get();
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
  const uint64_t frames = FramesToDecode(bytes, totalFrames_ - frame_);
  uint64_t done = 0;
  while (done < frames) {
    while (nextEvent_ < eventFrames_.size() && eventFrames_[nextEvent_] <= frame_)
      Dispatch(song_.events[nextEvent_++]);
    uint64_t chunk = frames - done;
    if (nextEvent_ < eventFrames_.size() && eventFrames_[nextEvent_] - frame_ < chunk)
      chunk = eventFrames_[nextEvent_] - frame_;
    int16_t* at = out + 2 * done;
    fluid_synth_write_s16(synth_.get(), static_cast<int>(chunk), at, 0, 2, at, 1, 2);
    done += chunk;
    frame_ += chunk;
  }
  return static_cast<size_t>(done) * 4;
}

}  // namespace quillo::audio
