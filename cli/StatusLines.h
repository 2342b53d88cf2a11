#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "engine/FileItem.h"
#include "engine/RunResult.h"

namespace quillo {

class TerminalProgress;

// The lines of a convert or join run, one per file in list order: the
// source, the "Volume" and the "Output" cell; with --json one JSON object per
// file. Both are rendered from the file's result. A file's line is
// written and flushed as soon as it and every file before it have
// ended, on a terminal or a pipe, so that a script reading them learns of
// each file when it is done and a killed run has reported every file it
// finished. The run calls it one call at a time, from its threads.
class StatusLines final : public RunListView {
 public:
  // `asFilesEnd` false holds every line until Finish: a join's files are done
  // only when the joined output is. An output in `namedFolder`, the folder
  // the user named, is shown by its name, any other by its whole path; with
  // no folder named (empty), every output by its whole path.
  StatusLines(const std::vector<FileItem*>& files, bool json, bool asFilesEnd,
              TerminalProgress& progress, std::ostream& out, std::ostream& err,
              const std::string& namedFolder = "");

  // A line shows how its file ended: the cells on the way are not printed.
  void SetVolumeCell(size_t, const std::string&) override {}
  void SetOutputCell(size_t, const std::string&) override {}
  void EnsureVisible(size_t) override {}
  void WidenOutputColumn(int) override {}
  void FileEnded(size_t file, const FileResult& result) override;

  // Writes the lines still due, from the run's final results: a file the run
  // never reached has a line when the run was cancelled, or with --json.
  void Finish(const RunResult& result);

 private:
  void Write(size_t file, const FileResult& result, bool cancelled);

  const std::vector<FileItem*>& files_;
  const bool json_;
  const bool asFilesEnd_;
  TerminalProgress& progress_;
  std::ostream& out_;
  std::ostream& err_;
  const std::string namedFolder_;                 // empty for none
  std::vector<std::optional<FileResult>> ended_;  // files that ended before an earlier one
  size_t written_ = 0;                            // the lines written so far, in list order
};

}  // namespace quillo
