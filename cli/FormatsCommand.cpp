#include <ostream>

#include "catalog/Catalog.h"
#include "cli/Commands.h"

namespace quillo {

// One line per output format, in catalog order: id, the text of the
// output-format list and the extension, separated by tabs.
int RunFormats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    err << "quillo-cli formats: unexpected argument \"" << args.front() << "\"\n";
    return kExitUsage;
  }
  for (const OutputFormat& row : BuildCatalog()) {
    out << row.formatId << '\t' << FormatListText(row) << '\t' << row.extension << '\n';
  }
  return kExitOk;
}

}  // namespace quillo
