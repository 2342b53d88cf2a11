#pragma once

#include <string>
#include <vector>

#include "engine/ConversionRun.h"

namespace quillo {

// Appends every file into one output. `outputPath` is the file the user chose;
// an existing file there is replaced only when the join completes.
void JoinAll(std::vector<FileItem*>& files, const std::string& outputPath, RunEnvironment& env);

}  // namespace quillo
