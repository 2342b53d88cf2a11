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
    auto length = static_cast<size_t>(in.gcount()) - (atEnd || full ? 0 : 1);
    // A list written on another system ends its lines with CR LF.
    if (!nulSeparated && length > 0 && buffer[length - 1] == '\r') --length;
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

namespace {

// Appends the names of the list `source` (a file, or `standardInput` for "-").
bool ReadList(const std::string& source, bool nulSeparated, std::istream& standardInput,
              std::vector<std::string>& names, std::string& error) {
  const bool fromInput = source == "-";
  std::ifstream file;
  if (!fromInput) file.open(source, std::ios::binary);
  // Why the list cannot be read: the file does not open, or reading it fails.
  std::string reason = fromInput || file ? "" : std::strerror(errno);
  if (reason.empty() && ReadNameList(fromInput ? standardInput : file, nulSeparated, names, reason))
    return true;
  error = "cannot read the file list \"" + EscapeText(source) + "\": " + reason;
  return false;
}

}  // namespace

bool AddFilesFrom(ConvertArguments& arguments, std::istream& standardInput, std::string& error) {
  if (arguments.filesFrom.empty()) {
    if (!arguments.nulSeparated) return true;
    error = "-0 is for the names of --files-from";
    return false;
  }
  // Each list's names go where the list was named among the paths. The names
  // are moved, never copied: a list of millions of names is held once.
  std::vector<std::string> paths;
  size_t given = 0;
  for (const auto& [before, source] : arguments.filesFrom) {
    for (; given < before && given < arguments.paths.size(); ++given)
      paths.push_back(std::move(arguments.paths[given]));
    if (!ReadList(source, arguments.nulSeparated, standardInput, paths, error)) return false;
  }
  for (; given < arguments.paths.size(); ++given)
    paths.push_back(std::move(arguments.paths[given]));
  arguments.paths = std::move(paths);
  return true;
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
