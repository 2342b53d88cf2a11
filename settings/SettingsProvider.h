#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// Where the settings are kept: named values in groups ("Options",
// "Options/ID3"), numbers as 32-bit integers and texts as UTF-8.
class SettingsProvider {
 public:
  virtual ~SettingsProvider() = default;

  // Whether the group holds any value that can be read.
  virtual bool hasGroup(std::string_view group) const = 0;
  // A value, or nothing when it is missing or not of that kind.
  virtual std::optional<int32_t> readNumber(std::string_view group,
                                            std::string_view name) const = 0;
  virtual std::optional<std::string> readText(std::string_view group,
                                              std::string_view name) const = 0;

  virtual void writeNumber(std::string_view group, std::string_view name, int32_t value) = 0;
  virtual void writeText(std::string_view group, std::string_view name, std::string_view value) = 0;
  // Stores what was written; false when it could not be stored.
  virtual bool commit() = 0;
};

}  // namespace quillo
