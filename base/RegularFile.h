#pragma once

#include <cstdint>
#include <string>

#include "base/FileHandle.h"

namespace quillo {

// Why `path` cannot be opened as an input, in words for the user ("No such
// file or directory", "Not a regular file", "Permission denied"); empty when
// it is a regular file that can be read.
// Every back-end asks before it opens anything: a FIFO or a device would
// block the run for ever.
std::string RegularFileProblem(const std::string& path);

// Opens `path` for reading when it is a regular file: checked by name before
// the open (opening a FIFO would wait for a writer) and again on the open
// file, which may have been replaced meanwhile. Null otherwise; `size` gets
// the open file's size.
FileHandle OpenRegularFile(const std::string& path, uint64_t& size);

}  // namespace quillo
