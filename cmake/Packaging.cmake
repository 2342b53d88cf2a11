# What a system installation holds beyond the two programs and the files of
# ui/ (the manual pages, the bash completion, the AppStream metadata, the
# icon in every size), and the Debian package of it all:
#   cpack --config build/CPackConfig.cmake -G DEB

# The manual pages are made from the programs' own --help and --version, so
# that they cannot drift from them.
# A sanitizer build makes none of the generated files: it is never packaged,
# and its programs would run under the sanitizers while building.
find_program(HELP2MAN_PROGRAM help2man)
set(quillo_generated ${PROJECT_BINARY_DIR}/generated)
if(QUILLO_SANITIZE)
elseif(HELP2MAN_PROGRAM)
  set(quillo_man_pages)
  foreach(program quillo quillo-cli)
    set(page ${quillo_generated}/man/${program}.1)
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${quillo_generated}/man
      COMMAND ${HELP2MAN_PROGRAM} --no-info --section=1
              --include=${PROJECT_SOURCE_DIR}/cmake/man/${program}.h2m
              --output=${page} $<TARGET_FILE:${program}>
      DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/man/${program}.h2m
      COMMENT "Making the manual page of ${program}"
      VERBATIM)
    list(APPEND quillo_man_pages ${page})
  endforeach()
  add_custom_target(quillo_man_pages ALL DEPENDS ${quillo_man_pages})
  install(FILES ${quillo_man_pages} DESTINATION share/man/man1)
else()
  message(WARNING "help2man is missing: no manual pages (scripts/setup.sh installs it)")
endif()

# The bash completion, made by quillo-cli from the option table of its --help.
if(NOT QUILLO_SANITIZE)
  set(quillo_completion ${quillo_generated}/completion/quillo-cli)
  add_custom_command(OUTPUT ${quillo_completion}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${quillo_generated}/completion
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:quillo-cli> -DOUTPUT=${quillo_completion}
            -P ${PROJECT_SOURCE_DIR}/cmake/WriteCompletion.cmake
    DEPENDS quillo-cli ${PROJECT_SOURCE_DIR}/cmake/WriteCompletion.cmake
    COMMENT "Making the bash completion of quillo-cli"
    VERBATIM)
  add_custom_target(quillo_completion ALL DEPENDS ${quillo_completion})
  install(FILES ${quillo_completion} DESTINATION share/bash-completion/completions)
endif()

# The software centres' description of the application.
configure_file(${PROJECT_SOURCE_DIR}/ui/data/io.github.quillo.Quillo.metainfo.xml.in
               ${quillo_generated}/io.github.quillo.Quillo.metainfo.xml @ONLY)
install(FILES ${quillo_generated}/io.github.quillo.Quillo.metainfo.xml DESTINATION share/metainfo)

# The icon in the sizes of menus and panels, beside the 256-pixel one and the
# SVG that ui/ installs.
foreach(size 16 24 32 48 64 128)
  install(FILES ${PROJECT_SOURCE_DIR}/ui/data/icons/quillo-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quillo.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillo)
set(CPACK_PACKAGE_VENDOR Quillo)
set(CPACK_PACKAGE_CONTACT "Quillo <support@quillo.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch audio converter")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillo converts audio and video files into thirty audio formats, or joins them into one \
file, and on the way trims, folds to mono, normalizes or scales, resamples and tags the audio. \
It has a desktop window (quillo) and a command line (quillo-cli) on one engine.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the programs link, as dpkg-shlibdeps finds their packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# MIDI files play through the system's General MIDI sound font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
