#include "cli/StatusLines.h"

#include <filesystem>

#include "cli/EscapeText.h"
#include "cli/ResultJson.h"
#include "cli/TerminalProgress.h"
#include "engine/media/FileList.h"
#include "engine/media/PathName.h"

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
      spans_(files.size()),
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

void StatusLines::Touch(size_t file) {
  if (file >= spans_.size()) return;
  const Clock::time_point now = Clock::now();
  Span& span = spans_[file];
  if (span.first == Clock::time_point()) span.first = now;
  span.last = now;
}

double StatusLines::Seconds(size_t file) const {
  if (file >= spans_.size()) return 0;
  return std::chrono::duration<double>(spans_[file].last - spans_[file].first).count();
}

// An output that landed outside the chosen folder is printed with its whole
// path, and the reason goes to standard error.
void StatusLines::Write(size_t file, const FileResult& result, bool cancelled) {
  const std::string& path = files_[file]->path;
  if (json_) {
    progress_.Print(out_, ConversionJsonLine(*files_[file], result, cancelled, Seconds(file)), "");
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
  // The cell starts with the output's name; a note on its level follows it.
  std::string cell = result.status;
  if (whole) {
    const std::string name = FileNamePart(result.outputPath);
    cell = result.outputPath + (cell.rfind(name, 0) == 0 ? cell.substr(name.size()) : "");
  }
  progress_.Print(
      out_, EscapeText(path) + '\t' + EscapeText(result.volume) + '\t' + EscapeText(cell) + '\n',
      note);
}

}  // namespace quillo
