#include <algorithm>
#include <iterator>
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
  if (!option.argument.empty()) text += " " + OptionArgument(option);
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
  const std::string help = OptionHelp(option);
  std::string_view rest = help;
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

// One command as the usage lists it: its synopsis and what it does.
struct CommandText {
  std::string_view name;
  unsigned commands;  // its bit in the option table; 0 for a command without options
  std::string_view synopsis;
  std::string_view text;  // lines of the help column
};

constexpr CommandText kCommands[] = {
    {"formats", 0, "formats", "List the output formats: id, name and extension, tab-separated."},
    {"probe", kProbeCommand, "probe [OPTIONS] PATH...",
     "Show each file's properties as the file list shows them:\n"
     "path, file name, duration, bit rate, sample rate, channels.\n"
     "Files that cannot be read are listed on standard error."},
    {"convert", kConvertCommand, "convert [OPTIONS] PATH...",
     "Convert every file into its own output file. A folder is\n"
     "searched with its subfolders, with the extension filter and\n"
     "the hidden-file option of the settings."},
    {"join", kJoinCommand, "join -o OUTFILE [OPTIONS] PATH...",
     "Join all files, in order, into one output file. Without -f the\n"
     "format is the one OUTFILE's extension names. An existing\n"
     "OUTFILE is replaced only with --if-exists overwrite, and only\n"
     "by a join that every file went into."},
    {"completion", 0, "completion bash", "Print the bash completion script of quillo-cli."},
};

// A command's synopsis, and its text in the help column: beside the synopsis
// when it leaves room.
void PrintCommand(std::ostream& out, const CommandText& command) {
  std::string line = "  " + std::string(command.synopsis);
  if (line.size() + 2 > kHelpColumn) {
    out << line << '\n';
    line.clear();
  }
  std::string_view rest = command.text;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    line.resize(kHelpColumn, ' ');
    out << line << rest.substr(0, end) << '\n';
    line.clear();
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
}

constexpr std::string_view kPathsText = R"(
Paths: the names of each --files-from list take that option's place among the
paths given as arguments, in the order of the command line.
)";

constexpr std::string_view kOutputText = R"(
Output: one line per file: source path, the "Volume" cell and the "Output" cell
(the output file's name when it is in the folder named with -d, or with -o
for a join, else its whole path; or the failure), tab-separated; control
characters are escaped (\n, \t, \\, \xNN).
With --json, one JSON object per file and line instead, with the members
input, output, status, state (ok, failed, no-audio, cancelled, skipped, or
partial: the source is damaged before its end and the output holds what could
be decoded), volume (percent), duration (seconds), rate (Hz), channels,
bitrate (kbit/s), seconds (the time the file took), reason (why it failed),
note (what to know about the output's level, such as a loudness held back by
the true-peak limit), fallback (why the output went to another folder) and
verified (true when --verify decoded the output back and found it sound); a
member whose value is unknown is null. A path that is not valid UTF-8 has its
invalid bytes replaced in "input" and "output", and comes whole,
base64-encoded, in "input_base64" and "output_base64".
Each output is written beside its target as ".NAME.quillo-part-XXXXXX.EXT" and
takes its name only when complete. Ctrl+C, SIGTERM and SIGHUP cancel.
)";

constexpr std::string_view kExitText = R"(
Exit status: 0 when every file succeeded; 1 when any failed, the run was
cancelled, a folder could not be searched or --save could not store the
settings (nothing is converted then); 2 for a usage error.
)";

}  // namespace

void PrintVersion(std::ostream& out) { out << "quillo-cli " << QUILLO_VERSION << '\n'; }

void PrintUsage(std::ostream& out) {
  out << "Usage: quillo-cli COMMAND [ARGS]\n\n"
         "Quillo converts audio and video files into audio files.\n\n"
         "Commands:\n";
  for (const CommandText& command : kCommands) PrintCommand(out, command);
  out << "  help, --help         Show this text; COMMAND --help shows its own.\n"
         "  --version            Show the version.\n"
         "\nOptions of probe, convert and join:\n";
  PrintOptions(out, kProbeCommand | kConvertCommand | kJoinCommand);
  out << "\nOptions of convert and join (for this run, over the stored settings):\n";
  PrintOptions(out, kConvertCommand | kJoinCommand);
  out << "\nOptions of join:\n";
  PrintOptions(out, kJoinCommand);
  out << kPathsText << kOutputText << kExitText;
}

bool PrintCommandUsage(std::ostream& out, std::string_view name) {
  const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const CommandText& c) { return c.name == name; });
  if (command == std::end(kCommands)) return false;
  out << "Usage: quillo-cli " << command->synopsis << "\n\n";
  std::string_view rest = command->text;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    out << "  " << rest.substr(0, end) << '\n';
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  if (command->commands == 0) return true;
  out << "\nOptions:\n";
  for (const CliOption& option : OptionTable())
    if ((option.commands & command->commands) != 0) PrintOption(out, option);
  out << kPathsText;
  if (command->commands != kProbeCommand) out << kOutputText;
  out << kExitText;
  return true;
}

}  // namespace quillo
