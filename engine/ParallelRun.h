#pragma once

#include <vector>

#include "engine/ConversionRun.h"

namespace quillo {

// Converts each file into its own output with `jobs` files at once, each in a
// job of its own. The outputs, their names and every file's result are those
// of a one-at-a-time run: names are given in input order before any file
// starts. A cancel stops every running file ("Cancelled") and starts no more.
void ConvertEachAtOnce(std::vector<FileItem*>& files, RunEnvironment& env, int jobs);

}  // namespace quillo
