#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace quillo {

// What a stored value holds.
enum class SettingKind : uint8_t {
  Switch,  // 0 or 1
  Number,  // a whole number from `low` to `high`
  Choice,  // one of the codes of `choices`
  Text,    // any text
  Folder,  // an absolute folder path
};

// Where a value is stored: the "Options" group, the tags' group, or under
// the prefix of each output format row with codec settings of its own
// ("MP3" + "BitRate").
enum class SettingPlace : uint8_t { Options, Tags, Row };

// One code of a choice, with the word the command line takes for it (empty
// when an option of its own selects it, as --normalize does).
struct SettingChoice {
  int32_t code;
  std::string_view word;
};

// Everything the program knows about one stored value. The settings store
// reads and writes by it, the command line takes its range and words from
// it and prints them in --help, the manual page and the completion, and the
// option pages check their edits against it, so that a value one of them
// takes is taken by all.
struct SettingDescription {
  std::string_view name;  // the stored name (a row's is its suffix)
  SettingPlace place;
  SettingKind kind;
  int32_t low = 0;  // Number: the range; Switch: 0 to 1
  int32_t high = 0;
  std::span<const SettingChoice> choices;  // Choice: its codes
  std::string_view unit;                   // "ms", "%", "LUFS", "Hz", "bit/s"; empty: none
  int32_t defaultValue = 0;                // numbers; a text's default is empty
  // The command-line option that sets it, without "--"; empty for what only
  // the window keeps (the page shown first, the last folder browsed).
  std::string_view flag;
  std::string_view help;  // what it does, one sentence without a full stop

  bool IsNumeric() const { return kind != SettingKind::Text && kind != SettingKind::Folder; }
  // True for a value the setting may hold.
  bool Allows(int32_t value) const;
  // The values it may hold, for messages: "a whole number from 1 to 32767",
  // "rename, overwrite or skip".
  std::string AllowedText() const;
};

inline constexpr int32_t kLargestSetting = std::numeric_limits<int32_t>::max();

// Every stored value, in the order the settings file stores them.
std::span<const SettingDescription> SettingDescriptions();

// The description of the stored value `name` (of `place`). Asking for a
// name no description has is a programming error: it aborts.
const SettingDescription& DescribeSetting(std::string_view name,
                                          SettingPlace place = SettingPlace::Options);

// The code of `choice`'s word `word`, or false.
bool FindChoiceWord(const SettingDescription& choice, std::string_view word, int32_t& code);

}  // namespace quillo
