#pragma once

#include <string>

namespace quillo {

// Makes `path` a folder, creating every missing folder on the way. True when
// the path already is a folder or was made one; false when a part of it exists
// as something other than a folder or cannot be created.
bool MakeFolders(const std::string& path);

}  // namespace quillo
