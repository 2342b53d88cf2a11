#pragma once

#include <climits>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/ConvertOptions.h"

namespace quillo {

// The longest name a file list may hold: the longest path Linux takes.
inline constexpr std::size_t kMaxListedNameBytes = PATH_MAX - 1;

// The names of a file list: one per line, or each ended by a NUL byte with
// `nulSeparated` (find -print0). Names are taken byte for byte; empty ones
// are skipped. False with `error` when the stream fails before its end, or
// when it holds a name longer than kMaxListedNameBytes or more than that many
// empty names in a row (neither can name a file; both end the list at once,
// so that an endless stream ends the command).
bool ReadNameList(std::istream& in, bool nulSeparated, std::vector<std::string>& names,
                  std::string& error);

// Appends the names of --files-from (a file, or `standardInput` for "-") to
// the arguments' paths. False with `error` when the list cannot be read or -0
// comes without --files-from.
bool AddFilesFrom(ConvertArguments& arguments, std::istream& standardInput, std::string& error);

// A command's arguments (`command`: one of the option table's command bits)
// with the names of --files-from read from `standardInput`; nothing, with the
// usage error written to `err`, when either fails.
std::optional<ConvertArguments> ReadCommandArguments(const std::vector<std::string>& args,
                                                     unsigned command, std::istream& standardInput,
                                                     std::ostream& err);

}  // namespace quillo
