#include "ui/AddingLoop.h"

#include <QFileInfo>

#include "engine/media/PathName.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/SingleBarDialog.h"
#include "ui/Translate.h"

namespace quillo {

namespace {

// The adding dialog's caption and bar, and the list scrolled to the last
// file added.
class AddingListener final : public ProbeListener {
 public:
  AddingListener(FileListView& view, SingleBarDialog& dialog) : view_(view), dialog_(dialog) {}

  void Probing(size_t index, size_t count, const std::string& path) override {
    dialog_.SetCaption(Tr("[%1/%2] Adding file %3...")
                           .arg(index + 1)
                           .arg(count)
                           .arg(QString::fromStdString(FileNamePart(path)))
                           .toStdString());
    dialog_.Step();
  }
  void Probed(const std::string&, const ProbeResult& result) override {
    if (result.status == ProbeResult::Status::Added) lastAdded_ = result.row;
    // Scrolling lays the whole list out again: only as often as it repaints.
    if (dialog_.PumpDue()) {
      ShowLastAdded();
      dialog_.PumpEventsNow();
    }
  }
  bool IsCancelled() override { return dialog_.IsCancelled(); }
  void ShowLastAdded() {
    if (lastAdded_ >= 0) view_.ShowRow(lastAdded_);
  }

 private:
  FileListView& view_;
  SingleBarDialog& dialog_;
  int lastAdded_ = -1;
};

}  // namespace

ProbeSummary AddPaths(const std::vector<std::string>& paths, FileListModel& model,
                      FileListView& view, SingleBarDialog& dialog, const BackendTable& backends,
                      UserPrompts& prompts) {
  dialog.SetRange(static_cast<int>(paths.size()));
  dialog.SetPosition(0);
  dialog.PumpEventsNow();
  AddingListener listener(view, dialog);
  ProbeSummary summary = ProbeFiles(paths, model, backends, &prompts, listener);
  listener.ShowLastAdded();
  return summary;
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
