#include "settings/ConversionSettings.h"

#include "base/AsciiCase.h"
#include "catalog/Catalog.h"

namespace quillo {

ConversionSettings::ConversionSettings(const std::string& documentsFolder)
    : formats(BuildCatalog()) {
  if (!documentsFolder.empty()) {
    destOutputFolderOpt = OutputFolderMode::SpecificFolder;
    destSpecifiedFolder = documentsFolder;
  }
}

void ConversionSettings::rebuildExtensionFilter() {
  extensionFilter.clear();
  if (enableExtFilter == 0) return;
  extensionFilter = ParseExtensionFilter(filterExts);
}

std::vector<std::string> ParseExtensionFilter(const std::string& text) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    // Whitespace never belongs to an extension; tabs go with the spaces.
    if (c == ' ' || c == '\t') continue;
    if (c == ',' || c == ';') {
      if (!piece.empty()) pieces.push_back(std::move(piece));
      piece.clear();
      continue;
    }
    piece += AsciiLower(c);
  }
  if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

std::string CleanExtensionFilter(const std::string& text) {
  std::string cleaned;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    cleaned += c == ';' ? ',' : c;
  }
  return cleaned;
}

}  // namespace quillo
