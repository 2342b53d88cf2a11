#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "engine/BackendTable.h"
#include "engine/FolderSearch.h"
#include "engine/ProbeLoop.h"
#include "engine/UserPrompts.h"

namespace quillo {

class FileListModel;
class FileListView;
class SingleBarDialog;

// How many failed paths the window's message names.
constexpr size_t kListedFailures = 30;

// Reads the paths of one command into the list one after the other while
// `dialog` shows which; a press of Cancel stops the loop after the current
// file, and the files added so far stay.
ProbeSummary AddPaths(const std::vector<std::string>& paths, FileListModel& model,
                      FileListView& view, SingleBarDialog& dialog, const BackendTable& backends,
                      UserPrompts& prompts);

// The candidates among dropped items: a folder gives the files below it that
// pass the filters, a file is tested by the filters itself. Folders that
// could not be searched go to `missed`.
std::vector<std::string> DroppedCandidates(const QStringList& paths, const CandidateFilter& filter,
                                           std::vector<std::string>* missed = nullptr);

}  // namespace quillo
