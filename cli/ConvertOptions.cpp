#include "cli/ConvertOptions.h"

#include <algorithm>
#include <filesystem>

#include "base/AsciiCase.h"
#include "catalog/Catalog.h"
#include "cli/AmrOptions.h"
#include "cli/NumberText.h"
#include "cli/OptionTable.h"
#include "cli/WmaOptions.h"

namespace quillo {

namespace {

const char* CommandName(unsigned command) {
  return command == kProbeCommand ? "probe" : command == kJoinCommand ? "join" : "convert";
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// The unknown option `arg`, with the nearest known one of `command` when a
// long name is near one.
std::string UnknownOption(const std::string& arg, const std::string& spelled, unsigned command) {
  std::string error = "unknown option " + arg;
  if (spelled.rfind("--", 0) != 0) return error;
  const std::string nearest = NearestOption(std::string_view(spelled).substr(2), command);
  if (!nearest.empty()) error += " (did you mean --" + nearest + "?)";
  return error;
}

}  // namespace

bool AsksForHelp(const std::vector<std::string>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") return false;
    if (IsHelp(arg)) return true;
    // The next argument is the value of an option that takes one.
    const CliOption* option = FindOption(arg);
    if (option != nullptr && !option->argument.empty()) ++i;
  }
  return false;
}

std::optional<ConvertArguments> ParseCommandArguments(const std::vector<std::string>& args,
                                                      unsigned command, std::string& error) {
  ConvertArguments parsed;
  bool onlyPaths = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyPaths || arg.empty() || arg[0] != '-' || arg == "-") {
      parsed.paths.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyPaths = true;
      continue;
    }
    std::string spelled = arg;  // the option as named, without a "=value"
    std::string value;
    bool hasValue = false;
    if (arg.rfind("--", 0) == 0) {
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        spelled = arg.substr(0, eq);
        value = arg.substr(eq + 1);
        hasValue = true;
      }
    } else if (arg.size() > 2) {
      // A short option's value may follow it at once: "-j4", "-dDIR".
      const CliOption* attached = FindOption(arg.substr(0, 2));
      if (attached != nullptr && !attached->argument.empty()) {
        spelled = arg.substr(0, 2);
        value = arg.substr(2);
        hasValue = true;
      }
    }
    const CliOption* option = FindOption(spelled);
    if (option == nullptr) {
      error = UnknownOption(arg, spelled, command);
      return std::nullopt;
    }
    if ((option->commands & command) == 0) {
      error = arg + " is not an option of " + CommandName(command);
      return std::nullopt;
    }
    const std::string name(option->name);
    if (!option->argument.empty() && !hasValue) {
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    } else if (option->argument.empty() && hasValue) {
      error = "option --" + name + " takes no value";
      return std::nullopt;
    }
    if (option->read != nullptr) {
      if (!option->read(value, parsed, error)) return std::nullopt;
    } else {
      parsed.options.emplace_back(name, value);
    }
  }
  return parsed;
}

bool ResolveFormat(const std::string& text, const ConversionSettings& settings, int& formatId,
                   std::string& error) {
  int32_t id = 0;
  if (ParseDecimal(text, 0, 0x7fffffff, id) && FindFormat(settings.formats, id) != nullptr) {
    formatId = id;
    return true;
  }
  std::string ext = AsciiLower(text);
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  std::vector<const OutputFormat*> matches;
  for (const OutputFormat& row : settings.formats)
    if (row.extension == ext) matches.push_back(&row);
  if (matches.size() == 1) {
    formatId = matches[0]->formatId;
    return true;
  }
  if (matches.empty()) {
    error = "unknown format \"" + text + "\" (see: quillo-cli formats)";
    return false;
  }
  error =
      "\"" + text + "\" names " + std::to_string(matches.size()) + " formats; choose one by id:";
  for (const OutputFormat* row : matches)
    error += "\n  " + std::to_string(row->formatId) + "\t" + FormatListText(*row);
  return false;
}

bool ResolveJoinFormat(ConvertArguments& arguments, const ConversionSettings& settings,
                       std::string& error) {
  std::string ext = std::filesystem::path(arguments.outputFile).extension().string();
  if (ext.empty()) return true;  // the chosen format's extension is appended
  ext = AsciiLower(ext.substr(1));
  const auto given = std::find_if(arguments.options.begin(), arguments.options.end(),
                                  [](const auto& option) { return option.first == "format"; });
  if (given != arguments.options.end()) {
    int formatId = 0;
    if (!ResolveFormat(given->second, settings, formatId, error)) return false;
    const OutputFormat& row = *FindFormat(settings.formats, formatId);
    if (row.extension == ext) return true;
    error = "-o " + arguments.outputFile + " does not end in \"." + std::string(row.extension) +
            "\", the extension of the format given with -f";
    return false;
  }
  // Without -f the name decides, so that "mix.flac" never holds another format.
  const OutputFormat* stored = FindFormat(settings.formats, settings.outputFormat);
  if (stored != nullptr && stored->extension == ext) return true;
  int formatId = 0;
  std::string ambiguity;
  if (!ResolveFormat(ext, settings, formatId, ambiguity)) {
    error = "-o " + arguments.outputFile + ": " + ambiguity + "; name the format with -f";
    return false;
  }
  arguments.options.emplace(arguments.options.begin(), "format", std::to_string(formatId));
  return true;
}

bool ApplyConvertOptions(const ConvertArguments& arguments, ConversionSettings& settings,
                         std::string& error, WindowsMediaRuntime* windowsMedia) {
  // The format comes first: the encoding options apply to its row.
  for (const auto& [name, value] : arguments.options) {
    if (name != "format") continue;
    int formatId = 0;
    if (!ResolveFormat(value, settings, formatId, error)) return false;
    settings.outputFormat = formatId;
  }
  OutputFormat* row = FindFormat(settings.formats, settings.outputFormat);
  if (row == nullptr) {
    error = "the stored output format " + std::to_string(settings.outputFormat) + " is unknown";
    return false;
  }
  OptionTarget target{settings, *row, error};
  for (const auto& [name, value] : arguments.options) {
    const CliOption* option = FindOption("--" + name);
    if (option != nullptr && option->apply != nullptr && !option->apply(*option, value, target))
      return false;
  }
  return ApplyAmrOptions(arguments.options, *row, settings, error) &&
         ApplyWmaOptions(arguments.options, *row, settings, windowsMedia, error);
}

}  // namespace quillo
