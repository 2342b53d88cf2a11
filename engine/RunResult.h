#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quillo {

struct FileResult;

// Where a run shows each file's "Volume" and "Output" cells while it works.
//
// Threads: the run calls it on the thread that called the engine's entry
// and, while several files convert at once, on the run's job threads too,
// one call at a time: while jobs run, the run holds its result lock around
// every call. It may be called while another thread of the run is inside
// the progress display or the prompts.
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

// How one file of a run ended, as values: the front ends render its "Volume"
// and "Output" cells and its JSON line from them (engine/ResultText.h).
struct FileResult {
  enum class State {
    NotReached,  // the run ended (a cancel, a failed prerequisite) before this file
    Converted,
    Skipped,  // the target exists and the policy says skip
    Failed,
    Cancelled,
    // Written, but the source stopped on damage before its end: the output
    // holds what was decoded and the reason says how much.
    Partial,
  };
  // How a failed or partial file's "Output" cell words its reason.
  enum class Failure {
    None,
    Conversion,  // "Conversion Failure", the reason in brackets when there is one
    NoAudio,     // the source holds no audio stream
    // The file never started: its output could not be named or created, or a
    // MIDI file has no sound font. The reason is the whole cell.
    Refused,
  };
  State state = State::NotReached;
  Failure failure = Failure::None;
  // What went wrong, in the system's words, without the words around it;
  // why a skipped file was skipped. Empty when nothing did.
  std::string reason;
  // The gain applied to the written output (1: unchanged), the "Volume"
  // cell; none unless converted or partial.
  std::optional<double> gain;
  std::string outputPath;  // the output written; empty unless converted or partial
  // What the user should know about a written output's level ("-30.4 LUFS,
  // held by the true-peak limit"); empty when nothing.
  std::string note;
  // Set when the output went to the documents folder because the chosen
  // folder failed: why it failed.
  std::string fallbackReason;
  double seconds = 0;  // the time the file took, from its start to its end
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
