#include "engine/ProbeLoop.h"

namespace quillo {

ProbeSummary ProbeFiles(const std::vector<std::string>& paths, FileList& list,
                        const BackendTable& backends, UserPrompts* prompts,
                        ProbeListener& listener) {
  ProbeSummary summary;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (listener.IsCancelled()) {
      summary.cancelled = true;
      return summary;
    }
    listener.Probing(i, paths.size(), paths[i]);
    const ProbeResult result = ProbeFile(paths[i], list, backends, prompts);
    if (result.status == ProbeResult::Status::Failed) {
      summary.failed.push_back(paths[i]);
      if (!result.detail.empty()) summary.detail = result.detail;
    }
    listener.Probed(paths[i], result);
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
