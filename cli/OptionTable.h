#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ConversionSettings.h"
#include "settings/SettingDescriptions.h"

namespace quillo {

struct ConvertArguments;

// The commands an option belongs to (a bit mask).
inline constexpr unsigned kProbeCommand = 1;
inline constexpr unsigned kConvertCommand = 2;
inline constexpr unsigned kJoinCommand = 4;

// What an option's apply function works on: the settings of the run and the
// chosen format's row; `error` takes the message of a bad value.
struct OptionTarget {
  ConversionSettings& settings;
  OutputFormat& row;
  std::string& error;
};

// One option of the command line. The one table of them drives the parser,
// `--help`, the manual page made from it and the shell completion, so that
// the four cannot disagree.
struct CliOption {
  std::string_view name;  // the long name, without "--"
  char shortName;         // the one-letter name, without "-"; 0 for none
  // The value as `--help` names it ("DIR", "MS"); empty for a flag. "WORD"
  // stands for the words of its setting ("on|off", "avg|left|right").
  std::string_view argument;
  unsigned commands;  // kProbeCommand | kConvertCommand | kJoinCommand
  // Options of the command line itself (--config, -j, --json...): the parser
  // stores the value in the arguments; false with `error` for a bad value.
  bool (*read)(const std::string& value, ConvertArguments& arguments, std::string& error);
  // Options over the settings: applied in command-line order once the format
  // is known; false with `target.error` set for a bad value. Null for the
  // options applied in a pass of their own (the format first; the AMR and
  // Windows Media options last, against the chosen row).
  bool (*apply)(const CliOption& option, const std::string& value, OptionTarget& target);
  std::string_view help;  // one sentence or two; `--help` wraps it. Empty: its setting's
  // The stored value whose range, words and default the option's value
  // takes; null for the options of the command line itself and the flags.
  const SettingDescription* setting = nullptr;
};

// Every option, in the order `--help` lists them.
std::span<const CliOption> OptionTable();

// The option `arg` names ("-f", "--format"; a "=value" is not part of it), or
// null.
const CliOption* FindOption(std::string_view arg);

// The long name of the option of `commands` that the unknown long name `name`
// (without "--") was likely meant to be: the one option it begins, else the
// nearest within two edits; empty when none is near.
std::string NearestOption(std::string_view name, unsigned commands);

// The value of `option` as `--help` names it, its setting's words in place
// of "WORD": "rename|overwrite|skip", "none|seq|N".
std::string OptionArgument(const CliOption& option);

// The help text of `option` with its setting's range and default:
// "scale the volume (100 = unchanged); 1 to 32767 %, default 100".
std::string OptionHelp(const CliOption& option);

// The words a value of `option` may be, from its argument ("rename|overwrite|skip"
// gives the three; placeholders in capitals such as "N" or "DIR" give none).
std::vector<std::string> OptionWords(const CliOption& option);

}  // namespace quillo
