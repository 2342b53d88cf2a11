#include <chrono>
#include <iostream>
#include <ostream>

#include "cli/CliPrompts.h"
#include "cli/Commands.h"
#include "cli/ConvertOptions.h"
#include "cli/EscapeText.h"
#include "cli/FilesFrom.h"
#include "cli/OptionTable.h"
#include "cli/ResultJson.h"
#include "engine/Conversion.h"
#include "engine/FileItemText.h"
#include "engine/media/PathName.h"

namespace quillo {

namespace {

void PrintRow(std::ostream& out, const FileItem& item) {
  out << EscapeText(item.path) << '\t' << EscapeText(FileNamePart(item.path)) << '\t'
      << DurationCell(item.duration) << '\t' << BitRateCell(item.bitRate) << '\t'
      << SampleRateCell(item.sampleRate) << '\t' << ChannelsCell(item.channels) << '\n';
}

}  // namespace

int RunProbe(const std::vector<std::string>& args, const BackendTable& backends, std::ostream& out,
             std::ostream& err) {
  std::optional<ConvertArguments> arguments =
      ReadCommandArguments(args, kProbeCommand, std::cin, err);
  if (!arguments) return kExitUsage;
  if (arguments->paths.empty()) {
    err << "quillo-cli probe: no file given\n";
    return kExitUsage;
  }
  CliPrompts prompts(err);
  MemoryFileList list;
  std::string failures;
  std::string detail;  // the last failure's explanation
  for (const std::string& path : arguments->paths) {
    const auto start = std::chrono::steady_clock::now();
    const ProbeResult result = ProbeFile(path, list, backends, &prompts);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const FileItem* item = result.status == ProbeResult::Status::Added
                               ? &list.Items()[static_cast<size_t>(result.row)]
                               : nullptr;
    if (arguments->json)
      out << ProbeJsonLine(path, item, result, seconds.count());
    else if (item != nullptr)
      PrintRow(out, *item);
    if (result.status == ProbeResult::Status::Failed) failures += EscapeText(path) + '\n';
    if (!result.detail.empty()) detail = result.detail;
  }
  if (failures.empty()) return kExitOk;
  err << "Failed to load the following files.\n\n" << failures;
  if (!detail.empty()) err << '\n' << EscapeText(detail) << '\n';
  return kExitSomeFailed;
}

}  // namespace quillo
