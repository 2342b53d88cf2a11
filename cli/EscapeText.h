#pragma once

#include <string>
#include <string_view>

namespace quillo {

// `text` with its control characters written as escapes ("\n", "\t", "\\",
// "\x1b"), so that whatever a file name holds, one file stays one line and no
// byte reaches the terminal as a command.
std::string EscapeText(std::string_view text);

}  // namespace quillo
