#include <ostream>

#include "cli/CliPrompts.h"
#include "cli/Commands.h"
#include "cli/EscapeText.h"
#include "engine/FileItemText.h"
#include "engine/Conversion.h"

namespace quillo {

namespace {

void PrintRow(std::ostream& out, const FileItem& item) {
  out << EscapeText(item.path) << '\t' << EscapeText(FileNameCell(item.path)) << '\t'
      << DurationCell(item.duration) << '\t' << BitRateCell(item.bitRate) << '\t'
      << SampleRateCell(item.sampleRate) << '\t' << ChannelsCell(item.channels) << '\n';
}

}  // namespace

int RunProbe(const std::vector<std::string>& args, const BackendTable& backends, std::ostream& out,
             std::ostream& err) {
  if (args.empty()) {
    err << "quillo-cli probe: no file given\n";
    return kExitUsage;
  }
  CliPrompts prompts(err);
  MemoryFileList list;
  std::string failures;
  std::string detail;  // the last failure's explanation
  for (const std::string& path : args) {
    const ProbeResult result = ProbeFile(path, list, backends, &prompts);
    if (result.status == ProbeResult::Status::Added)
      PrintRow(out, list.Items()[static_cast<size_t>(result.row)]);
    else if (result.status == ProbeResult::Status::Failed)
      failures += EscapeText(path) + '\n';
    if (!result.detail.empty()) detail = result.detail;
  }
  if (failures.empty()) return kExitOk;
  err << "Failed to load the following files.\n\n" << failures;
  if (!detail.empty()) err << '\n' << EscapeText(detail) << '\n';
  return kExitSomeFailed;
}

}  // namespace quillo
