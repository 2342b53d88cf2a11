#pragma once

#include "settings/SettingsEnums.h"

namespace quillo {

// The radio a coded setting shows on the options pages, and the setting a
// radio gives back. A stored value outside the list shows the last radio of
// the volume and tag groups and the first of the track group.

// Normalize, Manual, Keep (and any other value) are radios 0, 1, 2.
int VolumeRadio(VolumeMode mode);
VolumeMode VolumeModeOfRadio(int radio);

// Radios "Add custom ID3 tag", "Transfer ID3 tag from source file", "None".
int TagRadio(TagMode mode);
TagMode TagModeOfRadio(int radio);

// Radios "None", "Sequence number in list", "Custom".
int TrackRadio(TrackNumberMode mode);
TrackNumberMode TrackModeOfRadio(int radio);

}  // namespace quillo
