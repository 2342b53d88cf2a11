#include <ostream>
#include <set>
#include <string>

#include "catalog/Catalog.h"
#include "cli/Commands.h"
#include "cli/OptionTable.h"

namespace quillo {

namespace {

// The spellings of an option in a bash case pattern: "-f|--format".
std::string CasePattern(const CliOption& option) {
  std::string pattern;
  if (option.shortName != 0) pattern = std::string("-") + option.shortName + "|";
  return pattern + "--" + std::string(option.name);
}

// What a value of `option` completes to, as the body of a bash case branch.
std::string ValueCompletion(const CliOption& option) {
  if (option.name == "format") return "words=$_quillo_cli_formats";
  if (option.argument == "DIR") return "_quillo_cli_paths -d; return";
  if (option.argument.find("FILE") != std::string_view::npos) return "_quillo_cli_paths -f; return";
  std::string words;
  for (const std::string& word : OptionWords(option)) words += (words.empty() ? "" : " ") + word;
  return words.empty() ? "return" : "words='" + words + "'";
}

// Every spelling of the options of `command`, for the completion of "-".
std::string OptionList(unsigned command) {
  std::string list;
  for (const CliOption& option : OptionTable()) {
    if ((option.commands & command) == 0) continue;
    if (!list.empty()) list += ' ';
    if (option.shortName != 0) list += std::string("-") + option.shortName + " ";
    list += "--" + std::string(option.name);
  }
  return list;
}

// The catalog ids and the extensions, each once.
std::string FormatWords() {
  std::set<std::string> extensions;
  std::string words;
  for (const OutputFormat& row : BuildCatalog()) {
    words += std::to_string(row.formatId) + " ";
    extensions.emplace(row.extension);
  }
  for (const std::string& extension : extensions) words += extension + " ";
  words.pop_back();
  return words;
}

void WriteBashCompletion(std::ostream& out) {
  out << "# bash completion of quillo-cli, made by \"quillo-cli completion bash\" from the\n"
         "# options of its --help.\n\n"
      << "_quillo_cli_formats='" << FormatWords() << "'\n\n";
  out << R"(_quillo_cli_paths() {  # -f: files and folders, -d: folders
  compopt -o filenames 2>/dev/null
  local IFS=$'\n'
  COMPREPLY=($(compgen "$1" -- "$cur"))
}

_quillo_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} words=
  # bash splits "--format=fl" at "=": the option stands one word further back.
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    COMPREPLY=($(compgen -W 'formats probe convert join completion help --help --version' -- "$cur"))
    return
  fi
  local command=${COMP_WORDS[1]}
  case $command in
    completion) ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W 'bash' -- "$cur")); return ;;
    probe|convert|join) ;;
    *) return ;;
  esac
  case $prev in
)";
  for (const CliOption& option : OptionTable())
    if (!option.argument.empty())
      out << "    " << CasePattern(option) << ") " << ValueCompletion(option) << " ;;\n";
  out << R"(  esac
  if [[ -n $words ]]; then
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  elif [[ $cur == -* ]]; then
    case $command in
)";
  out << "      probe) words='" << OptionList(kProbeCommand) << "' ;;\n"
      << "      convert) words='" << OptionList(kConvertCommand) << "' ;;\n"
      << "      join) words='" << OptionList(kJoinCommand) << "' ;;\n";
  out << R"(    esac
    COMPREPLY=($(compgen -W "$words" -- "$cur"))
  else
    _quillo_cli_paths -f
  fi
}

complete -F _quillo_cli quillo-cli
)";
}

}  // namespace

int RunCompletion(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1 || args.front() != "bash") {
    err << "quillo-cli completion: give the shell: quillo-cli completion bash\n";
    return kExitUsage;
  }
  WriteBashCompletion(out);
  return kExitOk;
}

}  // namespace quillo
