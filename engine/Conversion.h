#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/BackendTable.h"
#include "engine/ConversionProgress.h"
#include "engine/FileItem.h"
#include "engine/RunResult.h"
#include "engine/UserPrompts.h"
#include "engine/media/FileList.h"
#include "settings/ConversionSettings.h"

namespace quillo {

// The engine as a front end sees it: one object per command that adds files
// to a list or converts them. It keeps no state between commands and shares
// none with other runs; everything it touches is handed in.
class Conversion {
 public:
  // `list` may be null when nothing shows the cells while the run works.
  Conversion(const BackendTable& backends, const ConversionSettings& settings,
             ConversionProgress& progress, UserPrompts& prompts, RunListView* list = nullptr);

  // The folder outputs fall back to when the chosen one fails; empty: none.
  void SetDocumentsFolder(std::string folder) { documentsFolder_ = std::move(folder); }

  // How many files ConvertEach converts at once (1, the default: one after
  // the other, in list order). Outputs, names and results do not depend on it.
  void SetJobs(int jobs) { jobs_ = jobs; }
  // One file per processor: how the front ends run by default.
  static int DefaultJobs();

  // Converts each file into its own output in the output format of the
  // settings. The files' outputPath fields are set for those that converted.
  RunResult ConvertEach(std::vector<FileItem*>& files);

  // Joins the files into one output at `outputPath`.
  RunResult JoinAll(std::vector<FileItem*>& files, const std::string& outputPath);

 private:
  const BackendTable& backends_;
  const ConversionSettings& settings_;
  ConversionProgress& progress_;
  UserPrompts& prompts_;
  RunListView* list_;
  std::string documentsFolder_;
  int jobs_ = 1;
};

// How adding one file to the list went.
struct ProbeResult {
  enum class Status { Added, Duplicate, Failed };
  Status status = Status::Failed;
  int row = -1;          // the new row's index when Added
  std::string detail;    // why a file failed, when there is more to say than its name
  bool noAudio = false;  // failed because the file holds no audio stream
};

// Reads a file's properties and appends it to `list`: duplicates are
// refused, the kind comes from the extension, a probe-only source is opened.
// `prompts` may be null (no questions asked).
ProbeResult ProbeFile(const std::string& path, FileList& list, const BackendTable& backends,
                      UserPrompts* prompts);

// Opens `path` and reads its properties into a row that is not yet listed;
// nothing, with `result` saying why, when it cannot be converted.
std::optional<FileItem> ProbeItem(const std::string& path, const BackendTable& backends,
                                  UserPrompts* prompts, ProbeResult& result);

// The detail shown for a ".cda" file that could not be opened.
extern const char* const kCdaOnHardDiskDetail;

}  // namespace quillo
