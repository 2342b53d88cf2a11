# What a system installation holds beyond the two programs and the files of
# ui/ (the manual pages, the bash completion, the AppStream metadata, the
# icon in every size), and the Debian package of it all:
#   cpack --config build/CPackConfig.cmake -G DEB

# Manual pages and the changelog are installed compressed, as Debian's policy
# asks: gzip at its best, without the name and time stamp of the input, so that
# the same input makes the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(quillo_gzip file)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${GZIP_PROGRAM} -9nf --keep ${file}
    DEPENDS ${file}
    COMMENT "Compressing ${file}"
    VERBATIM)
endfunction()

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
    quillo_gzip(${page})
    list(APPEND quillo_man_pages ${page}.gz)
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

# The package's changelog and its machine-readable copyright file. The
# changelog's newest entry must name this version: a package whose changelog
# disagrees with its version is refused here rather than shipped.
set(quillo_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
file(READ ${quillo_changelog} quillo_changelog_top LIMIT 200)
string(REGEX MATCH "^[^\n]*" quillo_changelog_top "${quillo_changelog_top}")
if(NOT quillo_changelog_top MATCHES "^quillo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${quillo_changelog_top}\"; "
                      "its newest entry must be for version ${PROJECT_VERSION}")
endif()
configure_file(${quillo_changelog} ${quillo_generated}/doc/changelog COPYONLY)
quillo_gzip(${quillo_generated}/doc/changelog)
add_custom_target(quillo_changelog ALL DEPENDS ${quillo_generated}/doc/changelog.gz)
install(FILES ${quillo_generated}/doc/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION share/doc/quillo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillo)
set(CPACK_PACKAGE_VENDOR Quillo)
set(CPACK_PACKAGE_CONTACT "Quillo <support@quillo.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch audio converter with a desktop window and a command line")
# One line of the control file's description each, below 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Quillo converts audio and video files into thirty audio formats (MP3, FLAC,
Ogg Vorbis, AAC, ALAC, WAV, AIFF, WMA, AMR and the audio of video containers),
or joins them into one file. On the way it trims, folds to mono, normalizes
the peak or the loudness, scales, resamples and tags the audio.

It has a desktop window (quillo) and a command line (quillo-cli) on one
engine; the command line prints JSON lines for scripts and reads lists of
files from a file or standard input.")
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
