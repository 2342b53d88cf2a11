#pragma once

#include <memory>

// The C handles of the libraries the audio library decodes with, declared as
// those libraries declare them, so that no stream's header needs theirs.
struct _fluid_hashtable_t;  // fluid_settings_t
struct _fluid_synth_t;      // fluid_synth_t
struct cdrom_drive_s;       // cdrom_drive_t
struct cdrom_paranoia_s;    // cdrom_paranoia_t
struct WavpackContext;
struct openmpt_module;
struct mpg123_handle_struct;  // mpg123_handle
struct sf_private_tag;        // SNDFILE

namespace quillo::audio {

// Owners of those handles: each releases its handle with the library's own
// call when it goes out of scope. Each deleter is defined beside the stream
// that uses the library, so a program built from that stream's sources alone
// (a fuzzer) links.

struct FluidSettingsDeleter {
  void operator()(_fluid_hashtable_t* settings) const;
};
struct FluidSynthDeleter {
  void operator()(_fluid_synth_t* synth) const;
};
struct CdDriveDeleter {
  void operator()(cdrom_drive_s* drive) const;
};
struct ParanoiaDeleter {
  void operator()(cdrom_paranoia_s* paranoia) const;
};
struct WavPackDeleter {
  void operator()(WavpackContext* context) const;
};
struct ModuleDeleter {
  void operator()(openmpt_module* module) const;
};
struct Mpg123Deleter {
  void operator()(mpg123_handle_struct* handle) const;
};
struct SndfileDeleter {
  void operator()(sf_private_tag* file) const;
};

// A synthesizer holds on to its settings: declare the settings' owner first,
// so that the synthesizer's is destroyed before it.
using FluidSettingsPtr = std::unique_ptr<_fluid_hashtable_t, FluidSettingsDeleter>;
using FluidSynthPtr = std::unique_ptr<_fluid_synth_t, FluidSynthDeleter>;
// The paranoia state reads through its drive: declare the drive's owner first.
using CdDrivePtr = std::unique_ptr<cdrom_drive_s, CdDriveDeleter>;
using ParanoiaPtr = std::unique_ptr<cdrom_paranoia_s, ParanoiaDeleter>;
using WavPackPtr = std::unique_ptr<WavpackContext, WavPackDeleter>;
using ModulePtr = std::unique_ptr<openmpt_module, ModuleDeleter>;
using Mpg123Ptr = std::unique_ptr<mpg123_handle_struct, Mpg123Deleter>;
using SndfilePtr = std::unique_ptr<sf_private_tag, SndfileDeleter>;

}  // namespace quillo::audio
