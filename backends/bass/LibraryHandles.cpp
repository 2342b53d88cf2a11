#include "backends/bass/LibraryHandles.h"

#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <fluidsynth.h>
#include <libopenmpt/libopenmpt.h>
#include <mpg123.h>
#include <sndfile.h>
#include <wavpack/wavpack.h>

namespace quillo::audio {

void FluidSettingsDeleter::operator()(fluid_settings_t* settings) const {
  delete_fluid_settings(settings);
}
void FluidSynthDeleter::operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
void CdDriveDeleter::operator()(cdrom_drive_t* drive) const { cdio_cddap_close(drive); }
void ParanoiaDeleter::operator()(cdrom_paranoia_t* paranoia) const { cdio_paranoia_free(paranoia); }
void WavPackDeleter::operator()(WavpackContext* context) const { WavpackCloseFile(context); }
void ModuleDeleter::operator()(openmpt_module* module) const { openmpt_module_destroy(module); }
void Mpg123Deleter::operator()(mpg123_handle* handle) const {
  mpg123_close(handle);
  mpg123_delete(handle);
}
void SndfileDeleter::operator()(SNDFILE* file) const { sf_close(file); }

}  // namespace quillo::audio
