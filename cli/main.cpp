#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "backends/InstalledBackends.h"
#include "cli/Commands.h"
#include "cli/ConvertOptions.h"
#include "platform/FileSizeSignal.h"

namespace {

int RunCommandLine(std::vector<std::string> args) {
  if (args.empty()) {
    quillo::PrintUsage(std::cerr);
    return quillo::kExitUsage;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    quillo::PrintUsage(std::cout);
    return quillo::kExitOk;
  }
  if (command == "--version") {
    quillo::PrintVersion(std::cout);
    return quillo::kExitOk;
  }
  // "COMMAND --help" shows that command's usage, wherever the option stands.
  if (quillo::AsksForHelp(args) && quillo::PrintCommandUsage(std::cout, command))
    return quillo::kExitOk;
  if (command == "formats") return quillo::RunFormats(args, std::cout, std::cerr);
  if (command == "completion") return quillo::RunCompletion(args, std::cout, std::cerr);
  const bool decodes = command == "probe" || command == "convert" || command == "join";
  if (decodes) {
    // The back-ends are set up once, here, before any file is opened.
    const quillo::InstalledBackends backends;
    const quillo::BackendTable& table = backends.table();
    if (command == "probe") return quillo::RunProbe(args, table, std::cout, std::cerr);
    if (command == "convert") return quillo::RunConvert(args, table, std::cout, std::cerr);
    return quillo::RunJoin(args, table, std::cout, std::cerr);
  }
  std::cerr << "quillo-cli: unknown command \"" << command << "\"\n\n";
  quillo::PrintUsage(std::cerr);
  return quillo::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  quillo::IgnoreFileSizeSignal();
  // A file's own failures end as its status line says; what escapes the
  // command besides (memory running out outside any one file) fails it with
  // the reason. The stack has unwound by then, removing every temporary
  // output, as std::terminate would not.
  try {
    return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    std::cerr << "quillo-cli: " << std::strerror(ENOMEM) << '\n';
  } catch (const std::exception& error) {
    std::cerr << "quillo-cli: " << error.what() << '\n';
  }
  return quillo::kExitSomeFailed;
}
