#include "engine/ProbeLoop.h"

#include "engine/ProbeCue.h"

namespace quillo {

ProbeSummary ProbeFiles(const std::vector<std::string>& paths, FileList& list,
                        const BackendTable& backends, UserPrompts* prompts,
                        ProbeListener& listener) {
  ProbeSummary summary;
  CueSheetsToAdd sheets(paths);
  const auto note = [&](const std::string& path, const ProbeResult& result) {
    if (result.status == ProbeResult::Status::Failed) {
      if (summary.failed.empty() || summary.failed.back() != path) summary.failed.push_back(path);
      if (!result.detail.empty()) summary.detail = result.detail;
    }
    listener.Probed(path, result);
  };
  for (size_t i = 0; i < paths.size(); ++i) {
    if (listener.IsCancelled()) {
      summary.cancelled = true;
      return summary;
    }
    // An image comes in as the tracks of its sheet, not as a whole as well.
    if (sheets.IsCutImage(paths[i])) continue;
    listener.Probing(i, paths.size(), paths[i]);
    if (IsCueSheetPath(paths[i])) {
      for (const ProbeResult& result :
           ProbeCueSheet(sheets.Tracks(paths[i]), paths[i], list, backends, prompts))
        note(paths[i], result);
    } else {
      note(paths[i], ProbeFile(paths[i], list, backends, prompts));
    }
  }
  summary.cancelled = listener.IsCancelled();
  return summary;
}

std::string FailedFilesMessage(const std::vector<std::string>& failed, const std::string& detail,
                               size_t listed) {
  if (failed.empty()) return {};
  std::string message = "Failed to load the following files.\n\n";
  for (size_t i = 0; i < failed.size() && i < listed; ++i) message += failed[i] + "\n";
  if (failed.size() > listed) message += "<more files>...\n";
  if (!detail.empty()) message += "\n" + detail;
  return message;
}

}  // namespace quillo
