#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv) {
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
  if (command == "probe") return quillo::RunProbe(args, std::cout, std::cerr);
  if (command == "convert") return quillo::RunConvert(args, std::cout, std::cerr);
  if (command == "join") return quillo::RunJoin(args, std::cout, std::cerr);
  if (command == "formats") return quillo::RunFormats(args, std::cout, std::cerr);
  std::cerr << "quillo-cli: unknown command \"" << command << "\"\n\n";
  quillo::PrintUsage(std::cerr);
  return quillo::kExitUsage;
}
