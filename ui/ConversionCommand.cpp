#include "ui/ConversionCommand.h"

#include <system_error>

#include "catalog/Catalog.h"
#include "engine/Conversion.h"
#include "engine/output/OutputPath.h"
#include "platform/StandardPaths.h"
#include "ui/DoubleBarDialog.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/RunBridge.h"
#include "ui/Shell.h"

namespace quillo {

ConversionCommand::ConversionCommand(Context context) : context_(context) {}

ConversionCommand::~ConversionCommand() {
  if (!worker_.joinable()) return;
  dialog_->Cancel();
  prompts_->Abandon();
  worker_.join();
}

void ConversionCommand::Stop() {
  if (dialog_) dialog_->Cancel();
  if (prompts_) prompts_->Abandon();
}

bool ConversionCommand::Start(const std::vector<int>& rows, bool join) {
  if (rows.empty()) return false;
  rows_ = rows;
  for (int row : rows) items_.push_back(context_.model.Item(row));

  std::string joinPath;
  if (join) {
    const ConversionSettings& settings = context_.settings;
    const OutputFormat* row = FindFormat(settings.formats, settings.outputFormat);
    std::optional<std::string> chosen = context_.prompts.AskOutputFile(
        SuggestedJoinPath(settings.destOutputFolderOpt, settings.destSpecifiedFolder,
                          items_.front().path, row != nullptr ? std::string(row->extension) : ""));
    if (!chosen || chosen->empty()) return false;
    joinPath = *chosen;
  }

  dialog_ = std::make_unique<DoubleBarDialog>(context_.window);
  progress_ = std::make_unique<QueuedProgress>(*dialog_);
  queuedCells_ = std::make_unique<QueuedCells>(*this, context_.model, context_.view, rows_,
                                               context_.outputColumnWidth);
  prompts_ = std::make_unique<BlockingPrompts>(*this, context_.prompts);
  try {
    worker_ = std::thread([this, join, joinPath] { Run(join, joinPath); });
  } catch (const std::system_error& error) {
    // No thread for the run (memory or a process limit): nothing starts, and
    // the user learns why instead of the window going down.
    prompts_.reset();
    queuedCells_.reset();
    progress_.reset();
    dialog_.reset();
    context_.prompts.Warn("The conversion could not start (" + std::string(error.what()) + ").");
    return false;
  }
  return true;
}

void ConversionCommand::Run(bool join, const std::string& joinPath) {
  std::vector<FileItem*> files;
  for (FileItem& item : items_) files.push_back(&item);
  // A file's own failures end as its cells say; what escapes the run besides
  // (memory running out between files) ends the run with a warning, never
  // the process.
  try {
    Conversion conversion(context_.backends, context_.settings, *progress_, *prompts_,
                          queuedCells_.get());
    conversion.SetDocumentsFolder(DocumentsFolder());
    conversion.SetJobs(context_.jobs);
    result_ = join ? conversion.JoinAll(files, joinPath) : conversion.ConvertEach(files);
  } catch (const std::exception& error) {
    prompts_->Warn("The conversion stopped (" + std::string(error.what()) + ").");
  }
  // Queued behind every cell the run wrote, so the list is complete first.
  QMetaObject::invokeMethod(
      this, [this] { Finish(); }, Qt::QueuedConnection);
}

void ConversionCommand::Finish() {
  worker_.join();
  // The outputs the run wrote go back to the list's files (opened later by
  // the play and browse commands). A row the run never reached (a cancel,
  // a failed prerequisite) reads as never converted: an earlier run's
  // output and gain there would pass for this run's.
  // Without results (the run itself stopped on an error) the rows keep what
  // the run's cells showed.
  const bool known = result_.files.size() == rows_.size();
  for (size_t i = 0; i < rows_.size(); ++i) {
    const bool reached = !known || result_.files[i].state != FileResult::State::NotReached;
    context_.model.Item(rows_[i]).outputPath = reached ? items_[i].outputPath : std::string();
    if (reached) continue;
    context_.model.SetVolumeCell(rows_[i], "");
    context_.model.SetOutputCell(rows_[i], "");
  }
  dialog_->Finish();
  if (!result_.revealPath.empty()) context_.shell.Reveal(result_.revealPath);
  emit finished();
}

}  // namespace quillo
