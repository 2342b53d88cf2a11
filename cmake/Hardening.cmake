# The programs are hardened the way Debian builds its packages (the flags of
# dpkg-buildflags with hardening=+all): libc calls checked against the sizes
# the compiler knows (fortify), stack protectors, format strings that cannot
# be data, position-independent executables, and relocations made read-only
# and bound at start-up (RELRO with bindnow).
#
# Sanitizer and fuzzer builds go without: their instrumentation does these
# checks itself and better, and the fortified calls would hide overruns from
# it. Fortify needs an optimizing build (glibc warns without one), so the
# Debug configuration has the rest but not fortify.
if(QUILLO_SANITIZE OR QUILLO_FUZZ)
  return()
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

add_compile_options(
  -fstack-protector-strong -Wformat -Werror=format-security
  "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
add_link_options(LINKER:-z,relro LINKER:-z,now)
