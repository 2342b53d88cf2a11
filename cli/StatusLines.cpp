#include "cli/StatusLines.h"

#include <filesystem>

#include "cli/EscapeText.h"
#include "cli/ResultJson.h"
#include "cli/TerminalProgress.h"
#include "engine/ResultText.h"
#include "engine/media/FileList.h"

namespace quillo {

StatusLines::StatusLines(const std::vector<FileItem*>& files, bool json, bool asFilesEnd,
                         TerminalProgress& progress, std::ostream& out, std::ostream& err,
                         const std::string& namedFolder)
    : files_(files),
      json_(json),
      asFilesEnd_(asFilesEnd),
      progress_(progress),
      out_(out),
      err_(err),
      namedFolder_(namedFolder),
      ended_(files.size()) {}

void StatusLines::FileEnded(size_t file, const FileResult& result) {
  if (!asFilesEnd_ || file >= ended_.size()) return;
  ended_[file] = result;
  // A file that ends before an earlier one waits for it.
  for (; written_ < ended_.size() && ended_[written_]; ++written_)
    Write(written_, *ended_[written_], false);
}

void StatusLines::Finish(const RunResult& result) {
  for (; written_ < files_.size() && written_ < result.files.size(); ++written_)
    Write(written_, result.files[written_], result.cancelled);
}

// An output that landed outside the chosen folder is printed with its whole
// path, and the reason goes to standard error.
void StatusLines::Write(size_t file, const FileResult& result, bool cancelled) {
  const std::string& path = files_[file]->path;
  if (json_) {
    progress_.Print(out_, ConversionJsonLine(*files_[file], result, cancelled), "");
    return;
  }
  // A cancelled run names every file it did not convert, so that a script
  // sees each one.
  if (result.state == FileResult::State::NotReached) {
    if (cancelled) progress_.Print(out_, EscapeText(path) + "\t\t" + kCancelledStatus + "\n", "");
    return;
  }
  // An output written elsewhere is named in full, unless the line must say
  // that the source was damaged; the note names it then.
  const bool elsewhere = !result.fallbackReason.empty() && !result.outputPath.empty();
  const std::string note = elsewhere
                               ? "quillo-cli: " + EscapeText(result.fallbackReason) +
                                     "; written to " + EscapeText(result.outputPath) + " instead\n"
                               : "";
  // A converted output outside the folder the user named (or with none
  // named) is named in full, so that the line says where it went.
  const std::string folder = std::filesystem::path(result.outputPath).parent_path().string();
  const bool inNamedFolder =
      !namedFolder_.empty() && SameFile(folder.empty() ? "." : folder, namedFolder_);
  const bool whole = (elsewhere && result.state != FileResult::State::Partial) ||
                     (result.state == FileResult::State::Converted && !result.outputPath.empty() &&
                      !inNamedFolder);
  const std::string cell = OutputCellText(result, whole ? result.outputPath : "");
  progress_.Print(
      out_,
      EscapeText(path) + '\t' + EscapeText(VolumeCellText(result)) + '\t' + EscapeText(cell) + '\n',
      note);
}

}  // namespace quillo
