#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/CodecChoice.h"
#include "catalog/CodecIds.h"
#include "catalog/OutputFormat.h"

namespace quillo {

// The 32 output format rows in catalog order (the order of the output-format
// list and of the option pages), each with its default settings.
std::vector<OutputFormat> BuildCatalog();

// The row with `formatId`, or null.
OutputFormat* FindFormat(std::vector<OutputFormat>& rows, int32_t formatId);
const OutputFormat* FindFormat(const std::vector<OutputFormat>& rows, int32_t formatId);

// Whether the row keeps its own codec settings (and an "Audio Options" page).
// The AMR and Windows Media rows take theirs from the general settings.
bool HasOwnCodecSettings(const OutputFormat& row);

// The upper-case prefix of the row's five stored settings ("MP3" for
// MP3BitRate, "AACDEVICE", ...); none for rows without own codec settings.
std::optional<std::string> SettingsPrefix(const OutputFormat& row);

// The row's name in the progress captions: the menu label, or the
// upper-cased extension when the row has no label ("MP3").
std::string FormatDisplayName(const OutputFormat& row);

// The row's text in the output-format list: " to " and its name (" to MP3").
std::string FormatListText(const OutputFormat& row);

// The title of the row's "Audio Options" page: the page title, or the
// upper-cased extension; none for rows without own codec settings.
std::optional<std::string> PageTitle(const OutputFormat& row);

// The first of the row's codec choices with `codecId`, or null.
const CodecChoice* FindCodecChoice(const OutputFormat& row, int32_t codecId);

}  // namespace quillo
