#pragma once

#include <string>

#include "settings/ConversionSettings.h"

namespace quillo::test {

// A settings object with every stored field moved off its default, so that a
// field the store forgets shows up as a difference after a round trip.
ConversionSettings ChangedSettings();

// Expects every stored field (and every row's five encoding values) of the
// two to match.
void ExpectSameStoredValues(const ConversionSettings& actual, const ConversionSettings& expected);

// The keys of an INI file as QSettings sees them, sorted, "/"-separated.
std::vector<std::string> IniKeys(const std::string& path);
// Writes `text` into an INI file under [Options] or wherever the text says.
void WriteText(const std::string& path, const std::string& text);

}  // namespace quillo::test
