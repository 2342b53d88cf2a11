#include "engine/Conversion.h"

#include <algorithm>
#include <thread>

#include "catalog/Catalog.h"
#include "engine/ConversionRun.h"
#include "engine/JoinRun.h"
#include "engine/RunLoop.h"
#include "engine/SourceFactory.h"

namespace quillo {

namespace {

// The run's own state: the job, the factory and the pass context, made fresh
// for each command.
struct RunState {
  RunState(const BackendTable& backends, const ConversionSettings& settings,
           ConversionProgress& progress, UserPrompts& prompts, RunListView* list,
           const std::string& documentsFolder, size_t files)
      : factory(backends, &prompts),
        pass{settings, *FindFormat(settings.formats, settings.outputFormat), job, backends, factory,
             progress},
        env{pass, prompts, list != nullptr ? *list : silent, documentsFolder, result} {
    result.files.resize(files);
  }

  ConversionJob job;
  SourceFactory factory;
  PassContext pass;
  NullListView silent;
  RunResult result;
  RunEnvironment env;
};

// A settings file names an output format this build does not have: nothing
// can be converted.
RunResult NoFormat(size_t files) {
  RunResult result;
  result.files.resize(files);
  return result;
}

}  // namespace

Conversion::Conversion(const BackendTable& backends, const ConversionSettings& settings,
                       ConversionProgress& progress, UserPrompts& prompts, RunListView* list)
    : backends_(backends),
      settings_(settings),
      progress_(progress),
      prompts_(prompts),
      list_(list) {}

int Conversion::DefaultJobs() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

RunResult Conversion::ConvertEach(std::vector<FileItem*>& files) {
  if (FindFormat(settings_.formats, settings_.outputFormat) == nullptr)
    return NoFormat(files.size());
  RunState run(backends_, settings_, progress_, prompts_, list_, documentsFolder_, files.size());
  quillo::ConvertEach(files, run.env, jobs_);
  return std::move(run.result);
}

RunResult Conversion::JoinAll(std::vector<FileItem*>& files, const std::string& outputPath) {
  if (FindFormat(settings_.formats, settings_.outputFormat) == nullptr)
    return NoFormat(files.size());
  RunState run(backends_, settings_, progress_, prompts_, list_, documentsFolder_, files.size());
  quillo::JoinAll(files, outputPath, run.env);
  return std::move(run.result);
}

}  // namespace quillo
