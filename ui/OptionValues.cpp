#include "ui/OptionValues.h"

namespace quillo {

int VolumeRadio(VolumeMode mode) {
  if (mode == VolumeMode::Normalize) return 0;
  if (mode == VolumeMode::Manual) return 1;
  if (mode == VolumeMode::Loudness) return 3;
  return 2;
}

VolumeMode VolumeModeOfRadio(int radio) {
  if (radio == 0) return VolumeMode::Normalize;
  if (radio == 1) return VolumeMode::Manual;
  if (radio == 3) return VolumeMode::Loudness;
  return VolumeMode::Keep;
}

int TagRadio(TagMode mode) {
  if (mode == TagMode::Custom) return 0;
  if (mode == TagMode::FromSource) return 1;
  return 2;
}

TagMode TagModeOfRadio(int radio) {
  if (radio == 0) return TagMode::Custom;
  if (radio == 1) return TagMode::FromSource;
  return TagMode::None;
}

int TrackRadio(TrackNumberMode mode) {
  if (mode == TrackNumberMode::ListPosition) return 1;
  if (mode == TrackNumberMode::Custom) return 2;
  return 0;
}

TrackNumberMode TrackModeOfRadio(int radio) {
  if (radio == 1) return TrackNumberMode::ListPosition;
  if (radio == 2) return TrackNumberMode::Custom;
  return TrackNumberMode::None;
}

}  // namespace quillo
