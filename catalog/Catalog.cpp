#include "catalog/Catalog.h"

#include "base/AsciiCase.h"

namespace quillo {

OutputFormat* FindFormat(std::vector<OutputFormat>& rows, int32_t formatId) {
  for (OutputFormat& row : rows) {
    if (row.formatId == formatId) return &row;
  }
  return nullptr;
}

const OutputFormat* FindFormat(const std::vector<OutputFormat>& rows, int32_t formatId) {
  for (const OutputFormat& row : rows) {
    if (row.formatId == formatId) return &row;
  }
  return nullptr;
}

bool HasOwnCodecSettings(const OutputFormat& row) {
  return row.backend == FormatBackend::Framework;
}

std::optional<std::string> SettingsPrefix(const OutputFormat& row) {
  if (!HasOwnCodecSettings(row)) return std::nullopt;
  return AsciiUpper(row.settingsKey.empty() ? row.extension : row.settingsKey);
}

std::string FormatDisplayName(const OutputFormat& row) {
  return row.menuLabel.empty() ? AsciiUpper(row.extension) : std::string(row.menuLabel);
}

std::string FormatListText(const OutputFormat& row) { return " to " + FormatDisplayName(row); }

std::optional<std::string> PageTitle(const OutputFormat& row) {
  if (!HasOwnCodecSettings(row)) return std::nullopt;
  return row.pageTitle.empty() ? AsciiUpper(row.extension) : std::string(row.pageTitle);
}

const CodecChoice* FindCodecChoice(const OutputFormat& row, int32_t codecId) {
  for (const CodecChoice* choice : row.codecChoices) {
    if (choice->codecId == codecId) return choice;
  }
  return nullptr;
}

}  // namespace quillo
