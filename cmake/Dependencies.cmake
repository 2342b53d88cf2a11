# Every library Quillo links, found once for all targets.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libavutil)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(WAVPACK REQUIRED IMPORTED_TARGET wavpack)
pkg_check_modules(OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(TAGLIB REQUIRED IMPORTED_TARGET taglib)
pkg_check_modules(EBUR128 REQUIRED IMPORTED_TARGET libebur128)
pkg_check_modules(CDIO_PARANOIA REQUIRED IMPORTED_TARGET libcdio_paranoia libcdio_cdda libcdio)
pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
pkg_check_modules(AMRNB REQUIRED IMPORTED_TARGET opencore-amrnb)
pkg_check_modules(AMRWB REQUIRED IMPORTED_TARGET opencore-amrwb)
pkg_check_modules(VOAMRWBENC REQUIRED IMPORTED_TARGET vo-amrwbenc)

find_library(RESAMPLE_LIBRARY NAMES resample REQUIRED)
find_path(RESAMPLE_INCLUDE_DIR NAMES libresample.h REQUIRED)
add_library(Resample::Resample UNKNOWN IMPORTED)
set_target_properties(Resample::Resample PROPERTIES
  IMPORTED_LOCATION ${RESAMPLE_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${RESAMPLE_INCLUDE_DIR})

find_library(GSM_LIBRARY NAMES gsm REQUIRED)
add_library(Gsm::Gsm UNKNOWN IMPORTED)
set_target_properties(Gsm::Gsm PROPERTIES IMPORTED_LOCATION ${GSM_LIBRARY})

find_package(Qt6 REQUIRED COMPONENTS Core)
