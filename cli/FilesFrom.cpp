#include "cli/FilesFrom.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

#include "cli/EscapeText.h"

namespace quillo {

bool ReadNameList(std::istream& in, bool nulSeparated, std::vector<std::string>& names,
                  std::string& error) {
  const char end = nulSeparated ? '\0' : '\n';
  for (std::string name; std::getline(in, name, end);)
    if (!name.empty()) names.push_back(std::move(name));
  if (in.bad()) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool AddFilesFrom(ConvertArguments& arguments, std::istream& standardInput, std::string& error) {
  if (arguments.filesFrom.empty()) {
    if (!arguments.nulSeparated) return true;
    error = "-0 is for the names of --files-from";
    return false;
  }
  const bool fromInput = arguments.filesFrom == "-";
  std::ifstream file;
  if (!fromInput) file.open(arguments.filesFrom, std::ios::binary);
  // Why the list cannot be read: the file does not open, or reading it fails.
  std::string reason = fromInput || file ? "" : std::strerror(errno);
  if (reason.empty() && ReadNameList(fromInput ? standardInput : file, arguments.nulSeparated,
                                     arguments.paths, reason))
    return true;
  error = "cannot read the file list \"" + EscapeText(arguments.filesFrom) + "\": " + reason;
  return false;
}

std::optional<ConvertArguments> ReadCommandArguments(const std::vector<std::string>& args,
                                                     unsigned command, std::istream& standardInput,
                                                     std::ostream& err) {
  std::string error;
  std::optional<ConvertArguments> arguments = ParseCommandArguments(args, command, error);
  if (!arguments) {
    err << "quillo-cli: " << error << "\n(see: quillo-cli help)\n";
    return std::nullopt;
  }
  if (!AddFilesFrom(*arguments, standardInput, error)) {
    err << "quillo-cli: " << error << '\n';
    return std::nullopt;
  }
  return arguments;
}

}  // namespace quillo
