#include "cli/ConvertOptions.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>

#include "catalog/Catalog.h"
#include "cli/AmrOptions.h"
#include "cli/WmaOptions.h"

namespace quillo {

namespace {

enum class Arity { Flag, Value };

const std::map<std::string, Arity>& KnownOptions() {
  static const std::map<std::string, Arity> known = {
      {"format", Arity::Value},   {"output-dir", Arity::Value}, {"same-folder", Arity::Flag},
      {"keep-tree", Arity::Flag}, {"if-exists", Arity::Value},  {"skip", Arity::Value},
      {"length", Arity::Value},   {"mono", Arity::Value},       {"normalize", Arity::Flag},
      {"volume", Arity::Value},   {"keep-volume", Arity::Flag}, {"tags", Arity::Value},
      {"title", Arity::Value},    {"artist", Arity::Value},     {"album", Arity::Value},
      {"year", Arity::Value},     {"genre", Arity::Value},      {"comment", Arity::Value},
      {"composer", Arity::Value}, {"copyright", Arity::Value},  {"title-from-name", Arity::Flag},
      {"track", Arity::Value},    {"codec", Arity::Value},      {"rate", Arity::Value},
      {"bitrate", Arity::Value},  {"channels", Arity::Value},   {"auto", Arity::Flag},
      {"config", Arity::Value},   {"save", Arity::Flag},        {"output", Arity::Value},
      {"band", Arity::Value},     {"mode", Arity::Value},       {"dtx", Arity::Value},
      {"jobs", Arity::Value},
  };
  return known;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// A whole non-negative number (decimal, or hexadecimal with 0x).
bool ParseNumber(const std::string& text, long long max, int32_t& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, 0);
  if (*end != '\0' || parsed < 0 || parsed > max) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool ResolveCodec(const std::string& text, const OutputFormat& row, int32_t& codecId,
                  std::string& error) {
  int32_t id = 0;
  if (ParseNumber(text, 0x7fffffff, id)) {
    if (FindCodecChoice(row, id) != nullptr) {
      codecId = id;
      return true;
    }
  }
  const std::string wanted = Lower(text);
  const CodecChoice* match = nullptr;
  int matches = 0;
  for (const CodecChoice* choice : row.codecChoices) {
    if (Lower(choice->displayName).find(wanted) == std::string::npos) continue;
    if (match == nullptr || match->codecId != choice->codecId) ++matches;
    match = choice;
  }
  if (matches == 1) {
    codecId = match->codecId;
    return true;
  }
  error = "--codec " + text + ": the " + FormatListText(row).substr(4) + " codecs are:";
  for (const CodecChoice* choice : row.codecChoices) {
    char id_text[16];
    std::snprintf(id_text, sizeof id_text, "0x%X", static_cast<unsigned>(choice->codecId));
    error += std::string("\n  ") + id_text + "  " + choice->displayName;
  }
  return false;
}

// The -j value: 1 to 256 files at once.
bool ParseJobs(const std::string& text, int& jobs) {
  int32_t value = 0;
  if (!ParseNumber(text, 256, value) || value < 1) return false;
  jobs = value;
  return true;
}

}  // namespace

std::optional<ConvertArguments> ParseConvertArguments(const std::vector<std::string>& args,
                                                      std::string& error) {
  static const std::map<std::string, std::string> shortNames = {
      {"-f", "format"}, {"-d", "output-dir"}, {"-o", "output"}, {"-j", "jobs"}};
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
    std::string name;
    std::string value;
    bool hasValue = false;
    if (const auto it = shortNames.find(arg); it != shortNames.end()) {
      name = it->second;
    } else if (arg.rfind("--", 0) == 0) {
      name = arg.substr(2);
      if (const size_t eq = name.find('='); eq != std::string::npos) {
        value = name.substr(eq + 1);
        name.resize(eq);
        hasValue = true;
      }
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
    const auto known = KnownOptions().find(name);
    if (known == KnownOptions().end()) {
      error = "unknown option " + arg;
      return std::nullopt;
    }
    if (known->second == Arity::Value && !hasValue) {
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    } else if (known->second == Arity::Flag && hasValue) {
      error = "option --" + name + " takes no value";
      return std::nullopt;
    }
    if (name == "config")
      parsed.configFile = value;
    else if (name == "output")
      parsed.outputFile = value;
    else if (name == "save")
      parsed.save = true;
    else if (name == "jobs" && !ParseJobs(value, parsed.jobs)) {
      error = "-j needs a number of files from 1 to 256, not \"" + value + "\"";
      return std::nullopt;
    } else if (name == "jobs")
      continue;
    else
      parsed.options.emplace_back(name, value);
  }
  return parsed;
}

bool ResolveFormat(const std::string& text, const ConversionSettings& settings, int& formatId,
                   std::string& error) {
  int32_t id = 0;
  if (ParseNumber(text, 0x7fffffff, id) && FindFormat(settings.formats, id) != nullptr) {
    formatId = id;
    return true;
  }
  std::string ext = Lower(text);
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
  ext = Lower(ext.substr(1));
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
  TagSettings& tags = settings.tags;
  const std::map<std::string, std::string*> tagTexts = {
      {"title", &tags.title},       {"artist", &tags.artist},      {"album", &tags.album},
      {"year", &tags.year},         {"genre", &tags.genre},        {"comment", &tags.comment},
      {"composer", &tags.composer}, {"copyright", &tags.copyright}};
  const auto bad = [&](const std::string& name, const std::string& value) {
    error = "bad value \"" + value + "\" for --" + name;
    return false;
  };
  const auto needsOwnCodec = [&](const std::string& name) {
    error = "--" + name + " does not apply" + FormatListText(*row);
    return false;
  };

  for (const auto& [name, value] : arguments.options) {
    int32_t number = 0;
    if (name == "format" || IsAmrOption(name)) {
      continue;
    } else if (name == "output-dir") {
      if (value.empty()) return bad(name, value);
      settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
      // Stored absolute: a later run from another folder must find the same place.
      std::error_code ec;
      const std::filesystem::path folder = std::filesystem::absolute(value, ec);
      settings.destSpecifiedFolder = ec ? value : folder.lexically_normal().string();
    } else if (name == "same-folder") {
      settings.destOutputFolderOpt = OutputFolderMode::SameAsSource;
    } else if (name == "keep-tree") {
      settings.createDirs = 1;
    } else if (name == "if-exists") {
      if (value == "rename")
        settings.targetExistsOpt = TargetExistsPolicy::Rename;
      else if (value == "overwrite")
        settings.targetExistsOpt = TargetExistsPolicy::Overwrite;
      else if (value == "skip")
        settings.targetExistsOpt = TargetExistsPolicy::Skip;
      else
        return bad(name, value);
    } else if (name == "skip") {
      if (!ParseNumber(value, 0x7fffffff, number)) return bad(name, value);
      settings.enableSkipLength = number != 0;
      settings.skipLength = number;
    } else if (name == "length") {
      if (!ParseNumber(value, 0x7fffffff, number) || number == 0) return bad(name, value);
      settings.enableConvertLength = 1;
      settings.convertLength = number;
    } else if (name == "mono") {
      if (value == "avg")
        settings.monoType = MonoMixMode::Average;
      else if (value == "left")
        settings.monoType = MonoMixMode::LeftOnly;
      else if (value == "right")
        settings.monoType = MonoMixMode::RightOnly;
      else
        return bad(name, value);
    } else if (name == "normalize") {
      settings.volumeType = VolumeMode::Normalize;
    } else if (name == "volume") {
      if (!ParseNumber(value, 32767, number) || number == 0) return bad(name, value);
      settings.volumeType = VolumeMode::Manual;
      settings.volume = number;
    } else if (name == "keep-volume") {
      settings.volumeType = VolumeMode::Keep;
    } else if (name == "tags") {
      if (value == "source")
        settings.id3TagType = TagMode::FromSource;
      else if (value == "custom")
        settings.id3TagType = TagMode::Custom;
      else if (value == "none")
        settings.id3TagType = TagMode::None;
      else
        return bad(name, value);
    } else if (const auto text = tagTexts.find(name); text != tagTexts.end()) {
      *text->second = value;
      if (name == "title") tags.titleAsFileName = 0;
      settings.id3TagType = TagMode::Custom;
    } else if (name == "title-from-name") {
      tags.titleAsFileName = 1;
      settings.id3TagType = TagMode::Custom;
    } else if (name == "track") {
      if (value == "none") {
        tags.trackNumType = TrackNumberMode::None;
      } else if (value == "seq") {
        tags.trackNumType = TrackNumberMode::ListPosition;
      } else if (ParseNumber(value, 0x7fffffff, number)) {
        tags.trackNumType = TrackNumberMode::Custom;
        tags.customTrackNum = number;
      } else {
        return bad(name, value);
      }
    } else if (row->backend == FormatBackend::WindowsMedia && IsWmaOption(name)) {
      continue;  // applied at the end, against the writer's format list
    } else if (name == "auto") {
      if (!HasOwnCodecSettings(*row)) return needsOwnCodec(name);
      row->autoEncParam = 1;
    } else if (name == "codec" || name == "rate" || name == "bitrate" || name == "channels") {
      if (!HasOwnCodecSettings(*row)) return needsOwnCodec(name);
      row->autoEncParam = 0;
      if (name == "codec") {
        if (!ResolveCodec(value, *row, row->codecId, error)) return false;
      } else if (name == "rate") {
        if (!ParseNumber(value, 768000, number) || number == 0) return bad(name, value);
        row->sampleRate = number;
      } else if (name == "bitrate") {
        if (!ParseNumber(value, 0x7fffffff, number)) return bad(name, value);
        row->bitRate = number;
      } else {
        if (value != "1" && value != "2") return bad(name, value);
        row->channels = value[0] - '0';
      }
    }
  }
  return ApplyAmrOptions(arguments.options, *row, settings, error) &&
         ApplyWmaOptions(arguments.options, *row, settings, windowsMedia, error);
}

}  // namespace quillo
