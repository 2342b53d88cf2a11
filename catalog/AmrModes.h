#pragma once

#include <array>
#include <string_view>

namespace quillo {

// The speech modes of each band in mode order, as the AMR and AWB option
// pages and the command line name them (kbit/s). A mode is its index.
inline constexpr std::array<std::string_view, 8> kAmrNarrowBandModes = {
    "4.75", "5.15", "5.9", "6.7", "7.4", "7.95", "10.2", "12.2"};
inline constexpr std::array<std::string_view, 9> kAmrWideBandModes = {
    "6.60", "8.85", "12.65", "14.25", "15.85", "18.25", "19.85", "23.05", "23.85"};

// The mode the pages show for a stored value that names no mode, and the one
// a sink then encodes with: 7.4 or 15.85 kbit/s.
inline constexpr int kAmrFallbackMode = 4;

// `stored` when it is a mode of a band with `modeCount` modes, else the
// fallback mode.
inline int AmrModeOrFallback(int stored, int modeCount) {
  return stored >= 0 && stored < modeCount ? stored : kAmrFallbackMode;
}

}  // namespace quillo
