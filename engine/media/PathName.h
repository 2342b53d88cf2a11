#pragma once

#include <string>
#include <string_view>

namespace quillo {

// The parts of a path's file name, by one rule for the whole program. The
// file name is what follows the last "/" (empty after a trailing "/"); its
// extension runs from its last "." to the end, dot included, so a dot in a
// folder name never counts and a name that starts with its only dot
// (".hidden") is all extension. Case is kept.
std::string FileNamePart(std::string_view path);
std::string StemPart(std::string_view path);       // the file name without its extension
std::string ExtensionPart(std::string_view path);  // empty when the file name has no dot

}  // namespace quillo
