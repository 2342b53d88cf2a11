#pragma once

#include <memory>
#include <string>

#include "settings/SettingsProvider.h"

namespace quillo {

// Settings in an INI file, the user's own document. Reading takes what can
// be read; a file that is not usable as settings (no regular file, over
// 1 MiB, binary data, text with none of our groups, lines that do not
// parse) gives problem() for the user and is never written. commit()
// replaces the whole file in one step under a lock beside it, keeping its
// owner and mode; a symbolic link is followed and its target replaced, and
// a read-only file is refused.
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

  // What is wrong with the file at the path, in words for the user, once
  // read; empty when nothing is.
  const std::string& problem() const { return problem_; }
  // Why the last commit() stored nothing, in words for the user.
  const std::string& saveError() const { return saveError_; }

 private:
  bool store(std::string& error) const;
  std::string naming() const;

  struct Values;  // what was read, with what was written over it, and what was written

  std::string path_;
  std::string text_;  // the file as read, for values QSettings splits
  std::unique_ptr<Values> values_;
  std::string problem_;
  std::string refusal_;  // why the file is never written; empty when it may be
  std::string saveError_;
};

}  // namespace quillo
