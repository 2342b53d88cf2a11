#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/ConversionSettings.h"

namespace quillo {

// Applies the AMR and AWB encoding options among `options` to the settings of
// the chosen format's row: --band first, so that --mode reads the table of
// the band it names. False with `error` set for a bad value or another row.
bool ApplyAmrOptions(const std::vector<std::pair<std::string, std::string>>& options,
                     const OutputFormat& row, ConversionSettings& settings, std::string& error);

}  // namespace quillo
