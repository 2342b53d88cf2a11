#include <iostream>
#include <string>
#include <vector>

#include "backends/InstalledBackends.h"
#include "cli/Commands.h"
#include "platform/FileSizeSignal.h"

int main(int argc, char** argv) {
  quillo::IgnoreFileSizeSignal();
  std::vector<std::string> args(argv + 1, argv + argc);
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
