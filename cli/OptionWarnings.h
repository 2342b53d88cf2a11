#pragma once

#include <string>
#include <vector>

#include "cli/ConvertOptions.h"
#include "settings/ConversionSettings.h"

namespace quillo {

// What the run will not do although an option asked for it, because another
// option (given later, or the settings it applies to) makes it useless:
// "--pictures has no effect unless the tags come from the source (--tags
// source)". One line per option, in command-line order; `settings` are the
// settings after every option was applied.
std::vector<std::string> IgnoredOptionWarnings(const ConvertArguments& arguments,
                                               const ConversionSettings& settings);

}  // namespace quillo
