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

// Release a handle with its library's own call. Each is defined beside the
// stream that uses the library, so a program built from that stream's
// sources alone (a fuzzer) links.
void ReleaseHandle(_fluid_hashtable_t* settings);
void ReleaseHandle(_fluid_synth_t* synth);
void ReleaseHandle(cdrom_drive_s* drive);
void ReleaseHandle(cdrom_paranoia_s* paranoia);
void ReleaseHandle(WavpackContext* context);
void ReleaseHandle(openmpt_module* module);
void ReleaseHandle(mpg123_handle_struct* handle);
void ReleaseHandle(sf_private_tag* file);

// The owner of one of those handles: releases it when it goes out of scope.
struct HandleReleaser {
  template <typename Handle>
  void operator()(Handle* handle) const {
    ReleaseHandle(handle);
  }
};
template <typename Handle>
using HandlePtr = std::unique_ptr<Handle, HandleReleaser>;

// A synthesizer holds on to its settings: declare the settings' owner first,
// so that the synthesizer's is destroyed before it.
using FluidSettingsPtr = HandlePtr<_fluid_hashtable_t>;
using FluidSynthPtr = HandlePtr<_fluid_synth_t>;
// The paranoia state reads through its drive: declare the drive's owner first.
using CdDrivePtr = HandlePtr<cdrom_drive_s>;
using ParanoiaPtr = HandlePtr<cdrom_paranoia_s>;
using WavPackPtr = HandlePtr<WavpackContext>;
using ModulePtr = HandlePtr<openmpt_module>;
using Mpg123Ptr = HandlePtr<mpg123_handle_struct>;
using SndfilePtr = HandlePtr<sf_private_tag>;

}  // namespace quillo::audio
