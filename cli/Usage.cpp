#include <ostream>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "cli/OptionTable.h"

namespace quillo {

namespace {

constexpr size_t kHelpColumn = 23;  // where an option's help text starts
constexpr size_t kLineWidth = 79;

// The left column of an option: "-f, --format ID|EXT" or "--normalize".
std::string OptionSynopsis(const CliOption& option) {
  std::string text;
  if (option.shortName != 0) text = std::string("-") + option.shortName + ", ";
  text += "--" + std::string(option.name);
  if (!option.argument.empty()) text += " " + std::string(option.argument);
  return text;
}

// One option: its synopsis, then its help wrapped to the line width in a
// column of its own, on the same line when the synopsis leaves room.
void PrintOption(std::ostream& out, const CliOption& option) {
  std::string line = "  " + OptionSynopsis(option);
  if (line.size() + 2 > kHelpColumn) {
    out << line << '\n';
    line.clear();
  }
  std::string_view rest = option.help;
  while (!rest.empty()) {
    line.resize(kHelpColumn, ' ');
    size_t take = rest.size();
    if (kHelpColumn + take > kLineWidth) {
      take = rest.rfind(' ', kLineWidth - kHelpColumn);
      if (take == std::string_view::npos || take == 0) take = rest.find(' ');
      if (take == std::string_view::npos) take = rest.size();
    }
    out << line << rest.substr(0, take) << '\n';
    line.clear();
    rest = rest.substr(take);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  }
}

void PrintOptions(std::ostream& out, unsigned commands) {
  for (const CliOption& option : OptionTable())
    if (option.commands == commands) PrintOption(out, option);
}

}  // namespace

void PrintVersion(std::ostream& out) { out << "quillo-cli " << QUILLO_VERSION << '\n'; }

void PrintUsage(std::ostream& out) {
  out << R"(Usage: quillo-cli COMMAND [ARGS]

Quillo converts audio and video files into audio files.

Commands:
  formats              List the output formats: id, name and extension, tab-separated.
  probe [OPTIONS] PATH...
                       Show each file's properties as the file list shows them:
                       path, file name, duration, bit rate, sample rate, channels.
                       Files that cannot be read are listed on standard error.
  convert [OPTIONS] PATH...
                       Convert every file into its own output file. A folder is
                       searched with its subfolders, with the extension filter and
                       the hidden-file option of the settings.
  join -o OUTFILE [OPTIONS] PATH...
                       Join all files, in order, into one output file. Without -f the
                       format is the one OUTFILE's extension names. An existing
                       OUTFILE is replaced only with --if-exists overwrite, and only
                       by a join that every file went into.
  completion bash      Print the bash completion script of quillo-cli.
  help, --help         Show this text.
  --version            Show the version.

Options of probe, convert and join:
)";
  PrintOptions(out, kProbeCommand | kConvertCommand | kJoinCommand);
  out << "\nOptions of convert and join (for this run, over the stored settings):\n";
  PrintOptions(out, kConvertCommand | kJoinCommand);
  out << R"(
Output: one line per file: source path, the "Volume" cell and the "Output" cell
(the output file's name, its whole path when it had to go elsewhere, or the
failure), tab-separated; control characters are escaped (\n, \t, \\, \xNN).
With --json, one JSON object per file and line instead, with the members
input, output, status, state (ok, failed, no-audio, cancelled, skipped, or
partial: the source is damaged before its end and the output holds what could
be decoded), volume (percent), duration (seconds), rate (Hz), channels,
bitrate (kbit/s), seconds (the time the file took), reason (why it failed), note (what to
know about the output's level, such as a loudness held back by the true-peak limit) and
fallback (why the output went to another folder); a member whose value is unknown is null. A path that is not valid UTF-8 has its invalid bytes
replaced in "input" and "output", and comes whole, base64-encoded, in
"input_base64" and "output_base64".
Each output is written beside its target as ".NAME.quillo-part-XXXXXX.EXT" and
takes its name only when complete. Ctrl+C, SIGTERM and SIGHUP cancel.

Exit status: 0 when every file succeeded; 1 when any failed, the run was
cancelled, a folder could not be searched or --save could not store the
settings (nothing is converted then); 2 for a usage error.
)";
}

}  // namespace quillo
