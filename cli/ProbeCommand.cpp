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
#include "engine/ProbeLoop.h"
#include "engine/media/PathName.h"

namespace quillo {

namespace {

void PrintRow(std::ostream& out, const FileItem& item) {
  out << EscapeText(item.path) << '\t' << EscapeText(RowName(item)) << '\t'
      << DurationCell(item.duration) << '\t' << BitRateCell(item.bitRate) << '\t'
      << SampleRateCell(item.sampleRate) << '\t' << ChannelsCell(item.channels) << '\n';
}

// One row per file read (with --json, one object per file, with the time it took).
class ProbePrinter final : public ProbeListener {
 public:
  ProbePrinter(std::ostream& out, const MemoryFileList& list, bool json)
      : out_(out), list_(list), json_(json) {}
  void Probing(size_t, size_t, const std::string&) override {
    start_ = std::chrono::steady_clock::now();
  }
  void Probed(const std::string& path, const ProbeResult& result) override {
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start_;
    const FileItem* item = result.status == ProbeResult::Status::Added
                               ? &list_.Items()[static_cast<size_t>(result.row)]
                               : nullptr;
    if (json_)
      out_ << ProbeJsonLine(path, item, result, seconds.count());
    else if (item != nullptr)
      PrintRow(out_, *item);
    // Each row reaches a pipe as soon as its file is read.
    out_.flush();
  }
  bool IsCancelled() override { return false; }

 private:
  std::ostream& out_;
  const MemoryFileList& list_;
  const bool json_;
  std::chrono::steady_clock::time_point start_;
};

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
  ProbePrinter printer(out, list, arguments->json);
  const ProbeSummary summary = ProbeFiles(arguments->paths, list, backends, &prompts, printer);
  if (summary.failed.empty()) return kExitOk;
  std::vector<std::string> failed;
  for (const std::string& path : summary.failed) failed.push_back(EscapeText(path));
  err << FailedFilesMessage(failed, EscapeText(summary.detail), failed.size());
  if (!summary.detail.empty()) err << '\n';
  return kExitSomeFailed;
}

}  // namespace quillo
