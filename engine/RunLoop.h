#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/ConversionRun.h"

namespace quillo {

// One file's work in a run: the convert or append step of file `index`, run
// with the job's own environment (its pass context, factory and state).
using FileStep = std::function<FileOutcome(size_t index, FileItem& file, RunEnvironment& job)>;

// A file whose step ended: its outcome, the state of the job that ran it
// (what its end shows: the gain, the note, what was written) and how long
// its step took.
struct EndedFile {
  size_t index = 0;
  FileOutcome outcome;
  ConversionJob state;
  double seconds = 0.0;
};

// Holds back files whose output waits for other files of the run (an
// album's values need every file of it measured) and hands them back once
// they may end. Called from the jobs' threads, each call with the calling
// job's environment; implementations lock their own state.
class FileHold {
 public:
  virtual ~FileHold() = default;
  // Takes the file that just ended; returns the files that end now: none,
  // this one, or this one with those held back for it.
  virtual std::vector<EndedFile> Settle(EndedFile ended, RunEnvironment& job) = 0;
  // At the run's end: the files still held (a cancel came first), ended as
  // cancelled with their outputs discarded.
  virtual std::vector<EndedFile> Drain() = 0;
};

// The one loop over a run's files, for every way of running: `jobs` files at
// once (1: one after the other, in list order), each job with its own state,
// sharing the display, the list and the questions one call at a time. Files
// are taken in list order; each file's cells and result are written when it
// ends. A cancel stops every running file ("Cancelled"), starts no more and
// marks the run cancelled, also when it lands while no file runs.
// `target` names the output in the progress captions. With a `hold`, each
// file that ends goes through it and ends when it hands the file back.
void RunFiles(std::vector<FileItem*>& files, const std::string& target, RunEnvironment& env,
              int jobs, const FileStep& step, FileHold* hold = nullptr);

// Converts each file into its own output with `jobs` files at once. The
// outputs, their names and every file's result are those of a one-at-a-time
// run: names are given in input order before any file starts.
void ConvertEach(std::vector<FileItem*>& files, RunEnvironment& env, int jobs);

}  // namespace quillo
