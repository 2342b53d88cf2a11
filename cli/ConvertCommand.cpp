#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <ostream>
#include <system_error>

#include "catalog/Catalog.h"
#include "cli/CliPrompts.h"
#include "cli/Commands.h"
#include "cli/ConvertOptions.h"
#include "cli/EscapeText.h"
#include "cli/FilesFrom.h"
#include "cli/OptionTable.h"
#include "cli/OptionWarnings.h"
#include "cli/StatusLines.h"
#include "cli/TerminalProgress.h"
#include "engine/Conversion.h"
#include "engine/FolderSearch.h"
#include "engine/ProbeLoop.h"
#include "platform/StandardPaths.h"
#include "settings/IniSettingsProvider.h"
#include "settings/SettingsStore.h"

namespace quillo {

namespace {

// Files as given, and the files below given folders as Add Folder finds them.
// A folder that could not be searched is named on `err` and sets `missed`.
// The names are moved, never copied: a list of millions of names is held once.
std::vector<std::string> GatherPaths(std::vector<std::string> paths,
                                     const ConversionSettings& settings, std::ostream& err,
                                     bool& missed) {
  const auto isFolder = [](const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
  };
  if (std::none_of(paths.begin(), paths.end(), isFolder)) return paths;
  const CandidateFilter filter = CandidateFilterFrom(settings);
  std::vector<std::string> gathered;
  gathered.reserve(paths.size());
  for (std::string& path : paths) {
    if (isFolder(path)) {
      std::vector<std::string> unsearched;
      for (std::string& found : SearchFolder(path, filter, &unsearched))
        gathered.push_back(std::move(found));
      for (const std::string& folder : unsearched)
        err << "quillo-cli: could not search " << EscapeText(folder) << '\n';
      missed = missed || !unsearched.empty();
    } else {
      gathered.push_back(std::move(path));
    }
  }
  return gathered;
}

// Files that cannot be read still take part, with unknown properties, so
// that the run gives each its own status ("No audio in the file",
// "Conversion Failure (...)"); Ctrl+C stops the reading.
class KeepingFailures final : public ProbeListener {
 public:
  KeepingFailures(MemoryFileList& list, const TerminalProgress& progress)
      : list_(list), progress_(progress) {}
  void Probing(size_t, size_t, const std::string&) override {}
  void Probed(const std::string& path, const ProbeResult& result) override {
    if (result.status != ProbeResult::Status::Failed) return;
    FileItem item;
    item.path = path;
    item.sourceKind = SourceKindFromPath(path);
    list_.Append(std::move(item), FileListKey(path));
  }
  bool IsCancelled() override { return progress_.IsCancelled(); }

 private:
  MemoryFileList& list_;
  const TerminalProgress& progress_;
};

struct Session {
  ConversionSettings settings{DocumentsFolder()};
  std::string configPath;
};

// Loads the settings, applies the options, stores them with --save. The
// exit status when the run cannot go on, kExitOk when it can: settings that
// were asked to be stored and were not end the run before any file is
// converted, so that a script does not take them as stored.
int PrepareSettings(ConvertArguments& arguments, bool join, const BackendTable& backends,
                    Session& session, std::ostream& err) {
  session.configPath = arguments.configFile.empty() ? ConfigFilePath() : arguments.configFile;
  IniSettingsProvider provider(session.configPath);
  if (!provider.problem().empty()) err << "quillo-cli: " << EscapeText(provider.problem()) << '\n';
  SettingsStore store(provider);
  store.load(session.settings);
  for (const std::string& warning : session.settings.loadWarnings)
    err << "quillo-cli: " << EscapeText(warning) << '\n';
  std::string error;
  if ((join && !ResolveJoinFormat(arguments, session.settings, error)) ||
      !ApplyConvertOptions(arguments, session.settings, error, backends.windowsMedia)) {
    err << "quillo-cli: " << error << '\n';
    return kExitUsage;
  }
  for (const std::string& warning : IgnoredOptionWarnings(arguments, session.settings))
    err << "quillo-cli: warning: " << warning << '\n';
  session.settings.rebuildExtensionFilter();
  if (arguments.save && !store.save(session.settings, kSaveOptions | kSaveWindow)) {
    err << "quillo-cli: could not store the settings: " << EscapeText(provider.saveError())
        << "; nothing was converted\n";
    return kExitSomeFailed;
  }
  return kExitOk;
}

int RunCommand(const std::vector<std::string>& args, bool join, const BackendTable& backends,
               std::ostream& out, std::ostream& err) {
  std::optional<ConvertArguments> arguments =
      ReadCommandArguments(args, join ? kJoinCommand : kConvertCommand, std::cin, err);
  if (!arguments) return kExitUsage;
  if (arguments->paths.empty()) {
    err << "quillo-cli: no file or folder given\n";
    return kExitUsage;
  }
  if (join && arguments->outputFile.empty()) {
    err << "quillo-cli join: -o OUTFILE is required\n";
    return kExitUsage;
  }
  if (!join && !arguments->outputFile.empty()) {
    err << "quillo-cli convert: -o is for join; use -d DIR for the output folder\n";
    return kExitUsage;
  }
  Session session;
  if (const int status = PrepareSettings(*arguments, join, backends, session, err);
      status != kExitOk)
    return status;
  ConversionSettings& settings = session.settings;
  const OutputFormat* row = FindFormat(settings.formats, settings.outputFormat);
  if (row == nullptr) {
    err << "quillo-cli: the settings name no known output format\n";
    return kExitUsage;
  }

  std::string joinPath;
  if (join) {
    joinPath = arguments->outputFile;
    if (std::filesystem::path(joinPath).extension().empty())
      joinPath += "." + std::string(row->extension);
    std::error_code ec;
    if (std::filesystem::exists(joinPath, ec) &&
        settings.targetExistsOpt != TargetExistsPolicy::Overwrite) {
      err << "quillo-cli join: \"" << EscapeText(joinPath)
          << "\" exists; give --if-exists overwrite to replace it\n";
      return kExitSomeFailed;
    }
  }

  TerminalProgress progress(err, isatty(STDERR_FILENO) != 0);
  CliPrompts prompts(err, &progress);

  MemoryFileList list;
  bool missedFolders = false;
  const std::vector<std::string> paths =
      GatherPaths(std::move(arguments->paths), settings, err, missedFolders);
  KeepingFailures keeping(list, progress);
  // A cancel while the inputs are read stops there: nothing was converted.
  if (ProbeFiles(paths, list, backends, &prompts, keeping).cancelled) {
    std::vector<FileItem> unread(paths.size());
    std::vector<FileItem*> named;
    for (size_t i = 0; i < paths.size(); ++i) {
      unread[i].path = paths[i];
      named.push_back(&unread[i]);
    }
    RunResult cancelled;
    cancelled.cancelled = true;
    cancelled.files.resize(paths.size());
    StatusLines(named, arguments->json, false, progress, out, err).Finish(cancelled);
    return kExitSomeFailed;
  }
  std::vector<FileItem*> files;
  for (FileItem& item : list.Items()) files.push_back(&item);
  if (files.empty()) {
    err << "quillo-cli: no files to convert\n";
    return kExitSomeFailed;
  }

  // A join's files are done only when the joined output is. Its output's
  // folder is the one -o named; a conversion's the one -d named.
  const bool namedDir =
      std::any_of(arguments->options.begin(), arguments->options.end(),
                  [](const auto& option) { return option.first == "output-dir"; });
  const std::string namedFolder = join ? std::filesystem::path(joinPath).parent_path().string()
                                  : namedDir ? settings.destSpecifiedFolder
                                             : std::string();
  StatusLines lines(files, arguments->json, !join, progress, out, err,
                    join && namedFolder.empty() ? "." : namedFolder);
  Conversion conversion(backends, settings, progress, prompts, &lines);
  conversion.SetDocumentsFolder(DocumentsFolder());
  conversion.SetJobs(arguments->jobs > 0 ? arguments->jobs : Conversion::DefaultJobs());
  const RunResult result =
      join ? conversion.JoinAll(files, joinPath) : conversion.ConvertEach(files);
  lines.Finish(result);
  if (!result.started) return kExitSomeFailed;
  return result.failures == 0 && !result.cancelled && !missedFolders ? kExitOk : kExitSomeFailed;
}

}  // namespace

int RunConvert(const std::vector<std::string>& args, const BackendTable& backends,
               std::ostream& out, std::ostream& err) {
  return RunCommand(args, false, backends, out, err);
}

int RunJoin(const std::vector<std::string>& args, const BackendTable& backends, std::ostream& out,
            std::ostream& err) {
  return RunCommand(args, true, backends, out, err);
}

}  // namespace quillo
