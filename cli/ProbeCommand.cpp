#include <ostream>

#include "backends/wm/WmRuntime.h"
#include "cli/CliPrompts.h"
#include "cli/Commands.h"
#include "cli/EscapeText.h"
#include "engine/FileItemText.h"
#include "engine/ProbeFile.h"

namespace quillo {

namespace {

void PrintRow(std::ostream& out, const FileItem& item) {
  out << EscapeText(item.path) << '\t' << EscapeText(FileNameCell(item.path)) << '\t'
      << DurationCell(item.duration) << '\t' << BitRateCell(item.bitRate) << '\t'
      << SampleRateCell(item.sampleRate) << '\t' << ChannelsCell(item.channels) << '\n';
}

}  // namespace

int RunProbe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "quillo-cli probe: no file given\n";
    return kExitUsage;
  }
  ConversionJob job;
  CliPrompts prompts(err);
  WmRuntime windowsMedia;
  SourceFactory factory(job, &prompts, &windowsMedia);
  MemoryFileList list;
  std::string failures;
  for (const std::string& path : args) {
    const ProbeResult result = ProbeFile(path, list, factory, job);
    if (result.status == ProbeResult::Status::Added)
      PrintRow(out, list.Items()[static_cast<size_t>(result.row)]);
    else if (result.status == ProbeResult::Status::Failed)
      failures += EscapeText(path) + '\n';
  }
  if (failures.empty()) return kExitOk;
  err << "Failed to load the following files.\n\n" << failures;
  if (!job.failureDetail.empty()) err << '\n' << job.failureDetail << '\n';
  return kExitSomeFailed;
}

}  // namespace quillo
