#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/ConversionRun.h"

namespace quillo {

// One file's work in a run: the convert or append step of file `index`, run
// with the job's own environment (its pass context, factory and state).
using FileStep = std::function<FileOutcome(size_t index, FileItem& file, RunEnvironment& job)>;

// The one loop over a run's files, for every way of running: `jobs` files at
// once (1: one after the other, in list order), each job with its own state,
// sharing the display, the list and the questions one call at a time. Files
// are taken in list order; each file's cells and result are written when it
// ends. A cancel stops every running file ("Cancelled"), starts no more and
// marks the run cancelled, also when it lands while no file runs.
// `target` names the output in the progress captions.
void RunFiles(std::vector<FileItem*>& files, const std::string& target, RunEnvironment& env,
              int jobs, const FileStep& step);

// Converts each file into its own output with `jobs` files at once. The
// outputs, their names and every file's result are those of a one-at-a-time
// run: names are given in input order before any file starts.
void ConvertEach(std::vector<FileItem*>& files, RunEnvironment& env, int jobs);

}  // namespace quillo
