#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/WindowsMediaRuntime.h"
#include "settings/ConversionSettings.h"

namespace quillo {

// The command line of "probe", "convert" and "join", split into options and paths.
struct ConvertArguments {
  std::vector<std::pair<std::string, std::string>> options;  // long name, value ("" for flags)
  std::vector<std::string> paths;
  std::string configFile;  // --config
  std::string outputFile;  // -o (join)
  int jobs = 0;            // -j (convert): files at once; 0 = one per processor
  bool save = false;
  bool json = false;  // --json: JSON Lines instead of tab-separated lines
  // --files-from, in command-line order: a file of more paths ("-" for
  // standard input), with the number of paths given before it, so that its
  // names take their place among them.
  std::vector<std::pair<size_t, std::string>> filesFrom;
  bool nulSeparated = false;  // -0: those paths end with NUL bytes
};

// True when the arguments ask for the command's usage: a --help or -h among
// the options (not a value of one, not after "--").
bool AsksForHelp(const std::vector<std::string>& args);

// Splits the arguments of `command` (kConvertCommand, kJoinCommand or
// kProbeCommand) by the option table; on a usage error returns nothing and
// sets `error`.
std::optional<ConvertArguments> ParseCommandArguments(const std::vector<std::string>& args,
                                                      unsigned command, std::string& error);

// Applies the options over the loaded settings (and the chosen row's encoding
// choices); false with `error` set for a bad value. The encoding choice of the
// Windows Media rows is checked against `windowsMedia`'s format list.
bool ApplyConvertOptions(const ConvertArguments& arguments, ConversionSettings& settings,
                         std::string& error, WindowsMediaRuntime* windowsMedia = nullptr);

// For join: checks that the output file's extension belongs to the format
// given with -f, or, without -f, makes the format the one that extension
// names (when the stored format does not already have it). False with `error`
// for a mismatch, an unknown extension or one several formats share.
bool ResolveJoinFormat(ConvertArguments& arguments, const ConversionSettings& settings,
                       std::string& error);

// The row for a catalog id or an unambiguous extension; false with `error`
// listing the candidates otherwise.
bool ResolveFormat(const std::string& text, const ConversionSettings& settings, int& formatId,
                   std::string& error);

}  // namespace quillo
