#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillo {

struct FileResult;

// Where a run shows each file's "Volume" and "Output" cells while it works.
class RunListView {
 public:
  virtual ~RunListView() = default;
  virtual void SetVolumeCell(size_t file, const std::string& text) = 0;
  virtual void SetOutputCell(size_t file, const std::string& text) = 0;
  virtual void EnsureVisible(size_t file) = 0;
  // Widens the "Output" column once a long failure text needs the room.
  virtual void WidenOutputColumn(int pixels) = 0;
  // The run is done with `file`, which ended as `result` says, after its last
  // cell. A join may still fail the files it took in, when the joined output
  // cannot be written at the end.
  virtual void FileEnded(size_t file, const FileResult& result) = 0;
};

// Shows nothing: a run that only returns its results.
class NullListView final : public RunListView {
 public:
  void SetVolumeCell(size_t, const std::string&) override {}
  void SetOutputCell(size_t, const std::string&) override {}
  void EnsureVisible(size_t) override {}
  void WidenOutputColumn(int) override {}
  void FileEnded(size_t, const FileResult&) override {}
};

// The "Output" cell of a file that a cancel stopped.
extern const char* const kCancelledStatus;

// How one file of a run ended.
struct FileResult {
  enum class State {
    NotReached,  // the run ended (a cancel, a failed prerequisite) before this file
    Converted,
    Skipped,  // the target exists and the policy says skip
    Failed,
    Cancelled,
    // Written, but the source stopped on damage before its end: the output
    // holds what was decoded and the status says how much.
    Partial,
  };
  State state = State::NotReached;
  std::string status;      // the "Output" cell: the output's name, or what went wrong
  std::string volume;      // the "Volume" cell: the applied gain; empty unless converted
  std::string outputPath;  // the output written; empty unless converted or partial
  // What the user should know about a written output's level ("-30.4 LUFS,
  // held by the true-peak limit"); empty when nothing.
  std::string note;
  // Set when the output went to the documents folder because the chosen
  // folder failed: why it failed.
  std::string fallbackReason;
  // The output was decoded back before it took its name and found sound.
  bool verified = false;
};

// What a run leaves for the front end.
struct RunResult {
  bool started = false;  // false: a prerequisite ended the command
  bool cancelled = false;
  int failures = 0;               // files that neither converted nor were skipped by the policy
  std::string revealPath;         // the first output to show in the file browser; empty for none
  std::vector<FileResult> files;  // one per file of the run, in its order
};

}  // namespace quillo
