#include "ui/AddCommand.h"

#include <QDialog>
#include <QFileDialog>
#include <QMimeData>
#include <QUrl>

#include "engine/FolderSearch.h"
#include "engine/ProbeLoop.h"
#include "ui/AddingLoop.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/OpenFileFilters.h"
#include "ui/SingleBarDialog.h"
#include "ui/Translate.h"

namespace quillo {
namespace {

// Keeps the window's controls disabled for one adding command.
class BusyScope {
 public:
  explicit BusyScope(const std::function<void(bool)>& setBusy) : setBusy_(setBusy) {
    setBusy_(true);
  }
  ~BusyScope() { setBusy_(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  const std::function<void(bool)>& setBusy_;
};

}  // namespace

QStringList DroppedLocalPaths(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile());
  return paths;
}

AddCommand::AddCommand(Context context) : context_(std::move(context)) {}

void AddCommand::ChooseFiles() {
  QFileDialog dialog(context_.window, Tr("Add Files"));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  // The desktop's own dialog where there is one (with its bookmarks and
  // recent places); the filters match either letter case in any dialog.
  dialog.setNameFilters(OpenFileFilters());
  if (dialog.exec() != QDialog::Accepted) return;
  AddFiles(dialog.selectedFiles());
}

void AddCommand::ChooseFolder() {
  QString start = QString::fromStdString(context_.settings.folder);
  if (start.size() > 1 && start.endsWith(u'/')) start.chop(1);
  const QString folder =
      QFileDialog::getExistingDirectory(context_.window, Tr("Please choose a folder:"), start);
  if (!folder.isEmpty()) AddFolder(folder);
}

void AddCommand::AddFiles(const QStringList& paths) {
  if (paths.isEmpty()) return;
  std::vector<std::string> candidates;
  for (const QString& path : paths) candidates.push_back(path.toStdString());
  AddGathered([&](std::vector<std::string>*) { return candidates; }, false);
}

void AddCommand::AddFolder(const QString& folder) {
  if (folder.isEmpty()) return;
  std::string stored = folder.toStdString();
  if (stored.back() != '/') stored += '/';
  context_.settings.folder = stored;
  context_.store.save(context_.settings, kSaveSourceFolder);
  AddGathered(
      [&](std::vector<std::string>* missed) {
        return SearchFolder(stored, CandidateFilterFrom(context_.settings), missed);
      },
      true);
}

void AddCommand::AddDropped(const QStringList& paths) {
  if (paths.isEmpty()) return;
  AddGathered(
      [&](std::vector<std::string>* missed) {
        return DroppedCandidates(paths, CandidateFilterFrom(context_.settings), missed);
      },
      true);
}

void AddCommand::AddGathered(const Gather& gather, bool searching) {
  std::string failures;
  {
    BusyScope busy(context_.setBusy);
    SingleBarDialog dialog(context_.window);
    if (searching) {
      dialog.SetCaption(Tr("Searching files...").toStdString());
      dialog.PumpEventsNow();
    }
    std::vector<std::string> missed;
    const std::vector<std::string> candidates = gather(&missed);
    ProbeSummary result;
    if (!candidates.empty())
      result = AddPaths(candidates, context_.model, context_.view, dialog, context_.backends,
                        context_.prompts);
    result.failed.insert(result.failed.end(), missed.begin(), missed.end());
    dialog.Finish();
    failures = FailedFilesMessage(result.failed, result.detail, kListedFailures);
  }
  if (!failures.empty()) context_.prompts.Warn(failures);
}

}  // namespace quillo
