#include "ui/AddingLoop.h"

#include <QFileInfo>

#include "engine/Conversion.h"
#include "engine/media/PathName.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/SingleBarDialog.h"

namespace quillo {

namespace {
constexpr int kListedFailures = 30;
}  // namespace

namespace {

void ListFailure(AddingResult& result, const std::string& text) {
  ++result.failed;
  if (result.failed <= kListedFailures)
    result.failureText += text + "\n";
  else if (result.failed == kListedFailures + 1)
    result.failureText += "<more files>...\n";
}

}  // namespace

void AddMissedFolders(AddingResult& result, const std::vector<std::string>& missed) {
  for (const std::string& folder : missed) ListFailure(result, folder);
}

AddingResult AddingLoop::Run(const std::vector<std::string>& candidates, SingleBarDialog& dialog) {
  AddingResult result;
  const int count = static_cast<int>(candidates.size());
  dialog.SetRange(count);
  dialog.SetPosition(0);
  dialog.PumpEventsNow();
  int lastAdded = -1;
  for (int i = 0; i < count; ++i) {
    const std::string& path = candidates[static_cast<size_t>(i)];
    dialog.SetCaption("[" + std::to_string(i + 1) + "/" + std::to_string(count) + "] Adding file " +
                      FileNamePart(path) + "...");
    dialog.Step();
    const ProbeResult probed = ProbeFile(path, model_, backends_, &prompts_);
    if (probed.status == ProbeResult::Status::Added) {
      ++result.added;
      lastAdded = probed.row;
    } else if (probed.status == ProbeResult::Status::Failed) {
      ListFailure(result, path);
      if (!probed.detail.empty()) result.detail = probed.detail;
    }
    // Scrolling lays the whole list out again: only as often as it repaints.
    if (dialog.PumpDue()) {
      if (lastAdded >= 0) view_.ShowRow(lastAdded);
      dialog.PumpEventsNow();
    }
    if (dialog.IsCancelled()) {
      result.cancelled = true;
      break;
    }
  }
  if (lastAdded >= 0) view_.ShowRow(lastAdded);
  return result;
}

std::string AddingFailureMessage(const AddingResult& result) {
  if (result.failureText.empty()) return {};
  std::string message = "Failed to load the following files.\n\n" + result.failureText;
  if (!result.detail.empty()) message += "\n" + result.detail;
  return message;
}

std::vector<std::string> DroppedCandidates(const QStringList& paths, const CandidateFilter& filter,
                                           std::vector<std::string>* missed) {
  std::vector<std::string> candidates;
  for (const QString& path : paths) {
    const std::string local = path.toStdString();
    if (QFileInfo(path).isDir()) {
      for (std::string& found : SearchFolder(local, filter, missed))
        candidates.push_back(std::move(found));
      continue;
    }
    std::string accepted = TestCandidate(local, filter);
    if (!accepted.empty()) candidates.push_back(std::move(accepted));
  }
  return candidates;
}

}  // namespace quillo
