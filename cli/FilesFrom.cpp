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
  // Room for the longest name, one byte more to tell a longer one, and the
  // terminator: a list is never buffered further than that.
  std::vector<char> buffer(kMaxListedNameBytes + 2);
  const auto capacity = static_cast<std::streamsize>(buffer.size());
  size_t emptyInARow = 0;
  for (;;) {
    in.getline(buffer.data(), capacity, end);
    if (in.bad()) {
      error = std::strerror(errno);
      return false;
    }
    const bool atEnd = in.eof();
    // Without the end of the stream, getline fails only when the buffer
    // filled before the separator came.
    const bool full = in.fail() && !atEnd;
    // What was read, without the separator that getline took.
    const auto length = static_cast<size_t>(in.gcount()) - (atEnd || full ? 0 : 1);
    if (full || length > kMaxListedNameBytes) {
      error = "name " + std::to_string(names.size() + 1) + " is longer than " +
              std::to_string(kMaxListedNameBytes) + " bytes, the longest a path can be";
      return false;
    }
    if (length > 0) {
      names.emplace_back(buffer.data(), length);
      emptyInARow = 0;
    } else if (!atEnd && ++emptyInARow > kMaxListedNameBytes) {
      // Endless separators (a device of zeros) would otherwise be read for ever.
      error = "more than " + std::to_string(kMaxListedNameBytes) + " empty names in a row";
      return false;
    }
    if (atEnd) return true;
  }
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
