# Sourced by the build scripts. Compiles through ccache when it is there,
# keyed on paths relative to the source tree, so that a fresh clone in another
# folder (CI's) reuses what an earlier build of the same sources compiled;
# a cold cache only costs the look-ups. Sets `cache_flags` for cmake.
cache_flags=()
if command -v ccache > /dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-8G}"
  cache_flags=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
