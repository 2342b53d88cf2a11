#include "ui/ConversionCommand.h"

#include <filesystem>

#include "catalog/Catalog.h"
#include "engine/Conversion.h"
#include "platform/StandardPaths.h"
#include "ui/DoubleBarDialog.h"
#include "ui/FileListModel.h"
#include "ui/FileListView.h"
#include "ui/RunCells.h"
#include "ui/Shell.h"

namespace quillo {

namespace {

// The folder and extension the join's save dialog starts with.
std::string SuggestedJoinPath(const ConversionSettings& settings,
                              const std::vector<FileItem*>& files) {
  const OutputFormat* row = FindFormat(settings.formats, settings.outputFormat);
  const std::string extension = row != nullptr ? std::string(row->extension) : std::string();
  std::string folder = settings.destSpecifiedFolder;
  if (settings.destOutputFolderOpt == OutputFolderMode::SameAsSource || folder.empty())
    folder = std::filesystem::path(files.front()->path).parent_path().string();
  return (std::filesystem::path(folder) / ("." + extension)).string();
}

}  // namespace

RunResult ConversionCommand::Run(const std::vector<int>& rows, bool join) {
  std::vector<FileItem*> files;
  files.reserve(rows.size());
  for (int row : rows) files.push_back(&context_.model.Item(row));
  if (files.empty()) return {};

  std::string joinPath;
  if (join) {
    std::optional<std::string> chosen =
        context_.prompts.AskOutputFile(SuggestedJoinPath(context_.settings, files));
    if (!chosen || chosen->empty()) return {};
    joinPath = *chosen;
  }

  DoubleBarDialog dialog(context_.window);
  RunCells cells(context_.model, context_.view, rows, context_.outputColumnWidth);
  Conversion conversion(context_.backends, context_.settings, dialog, context_.prompts, &cells);
  conversion.SetDocumentsFolder(DocumentsFolder());
  RunResult result = join ? conversion.JoinAll(files, joinPath) : conversion.ConvertEach(files);
  dialog.Finish();
  if (!result.revealPath.empty()) context_.shell.Reveal(result.revealPath);
  return result;
}

}  // namespace quillo
