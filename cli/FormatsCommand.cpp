#include <ostream>

#include "cli/Commands.h"

namespace quillo {

// Filled in with the output format catalog.
int RunFormats(const std::vector<std::string>& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "quillo-cli formats: the format catalog is not built yet\n";
  return kExitUsage;
}

}  // namespace quillo
