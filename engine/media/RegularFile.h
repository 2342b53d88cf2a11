#pragma once

#include <string>

namespace quillo {

// Why `path` cannot be opened as an input, in words for the user ("No such
// file or directory", "Not a regular file", "Permission denied"); empty when
// it is a regular file that can be read.
// Every back-end asks before it opens anything: a FIFO or a device would
// block the run for ever.
std::string RegularFileProblem(const std::string& path);

}  // namespace quillo
