#pragma once

#include <memory>
#include <string>

#include "settings/SettingsProvider.h"

class QSettings;

namespace quillo {

// Settings in an INI file through QSettings. A file that cannot be read or
// is malformed reads as empty; commit() writes the whole file atomically.
// Only a regular file (or none) is opened: a FIFO or a device there would
// block the program for ever, so it reads as empty, takes no writes, and
// problem() says why.
class IniSettingsProvider final : public SettingsProvider {
 public:
  explicit IniSettingsProvider(const std::string& path);
  ~IniSettingsProvider() override;
  IniSettingsProvider(const IniSettingsProvider&) = delete;
  IniSettingsProvider& operator=(const IniSettingsProvider&) = delete;

  bool hasGroup(std::string_view group) const override;
  std::optional<int32_t> readNumber(std::string_view group, std::string_view name) const override;
  std::optional<std::string> readText(std::string_view group, std::string_view name) const override;
  void writeNumber(std::string_view group, std::string_view name, int32_t value) override;
  void writeText(std::string_view group, std::string_view name, std::string_view value) override;
  bool commit() override;

  // Why the file at the path cannot serve as the settings file, in words for
  // the user; empty when it can.
  const std::string& problem() const { return problem_; }

 private:
  std::unique_ptr<QSettings> settings_;
  bool readable_ = false;
  std::string problem_;
};

}  // namespace quillo
