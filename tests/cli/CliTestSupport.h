#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "backends/InstalledBackends.h"
#include "cli/Commands.h"
#include "tests/support/TestSupport.h"

namespace quillo::test {

// The back-ends, set up once for the test program as quillo-cli's main does.
inline const BackendTable& Backends() {
  static const InstalledBackends backends;
  return backends.table();
}

// One quillo-cli command run in-process, with a settings file of its own.
struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline CliRun RunCli(const std::string& command, std::vector<std::string> args,
                     const std::string& config) {
  args.push_back("--config");
  args.push_back(config);
  std::ostringstream out, err;
  CliRun run;
  run.status = command == "join" ? RunJoin(args, Backends(), out, err)
                                  : RunConvert(args, Backends(), out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// Makes a file with the ffmpeg program from a lavfi source description.
inline void MakeAudio(const std::string& path, const std::string& lavfi,
                      const std::string& extra = "") {
  Run("ffmpeg -v error -y -f lavfi -i " + ShellQuote(lavfi) + " " + extra + " " + ShellQuote(path));
}

// The lines of a text.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace quillo::test

namespace quillo {
// The command-line tests call these by their short names.
using test::Lines;
using test::MakeAudio;
using test::RunCli;
}  // namespace quillo
