#pragma once

#include <string>

#include "cli/OptionTable.h"

namespace quillo {

// --vbr on|off: Opus's variable or constant bit rate. False with the error
// set for another value or another format.
bool ApplyVbr(const CliOption& option, const std::string& value, OptionTarget& target);

// --compression fast|normal|high|very-high: WavPack's compression level. False
// with the error set for another value or another format.
bool ApplyCompression(const CliOption& option, const std::string& value, OptionTarget& target);

}  // namespace quillo
