#include "engine/OutputPath.h"

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <system_error>

#include "engine/FileList.h"
#include "engine/FolderMaker.h"
#include "engine/PendingOutput.h"

namespace quillo {

const char* const kTargetSkippedStatus = "Target exists and skipped";

namespace {

namespace fs = std::filesystem;

enum class Outcome { kDone, kRefused, kFailed };

std::string FolderMessage(const std::string& folder) {
  return "Failed to create folder \"" + folder + "\"";
}

std::string FileMessage(const std::string& path) {
  return "Failed to create file \"" + path + "\"";
}

// Anything of that name, a dangling link included.
bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// The source's folder as a relative path ending in "/", with "." and ".."
// resolved first so that the tree cannot climb out of the output folder:
// "/home/ann/Music/pop/track01.mp3" gives "home/ann/Music/pop/".
std::string SourceTree(const std::string& source) {
  std::error_code ec;
  fs::path path = fs::absolute(fs::path(source), ec);
  if (ec) path = fs::path(source);
  std::string tree = path.lexically_normal().parent_path().relative_path().string();
  if (!tree.empty() && tree.back() != '/') tree += '/';
  return tree;
}

// Whether the file system takes a name that long in that folder.
bool NameFits(const std::string& path) {
  const fs::path target(path);
  std::string folder = target.parent_path().string();
  if (folder.empty()) folder = ".";
  long nameMax = pathconf(folder.c_str(), _PC_NAME_MAX);
  if (nameMax <= 0) nameMax = 255;
  return path.size() < PATH_MAX &&
         target.filename().string().size() <= static_cast<size_t>(nameMax);
}

// Proves that `path` can be created, without ever making the real name: the
// hidden temporary file the conversion will write is made and removed, so
// that a kill at this moment leaves no empty file under the final name for a
// later "skip" run to take for done. An existing target (overwrite) must be a
// writable file, and is left as it is.
bool ProveCreatable(const std::string& path) {
  if (Exists(path)) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || access(path.c_str(), W_OK) != 0) return false;
  } else if (!NameFits(path)) {
    return false;
  }
  PendingOutput probe(path);
  return probe.Create();
}

Outcome TryOnce(const std::string& source, const std::string& newExtension, OutputFolderMode mode,
                const std::string& folder, bool keepTree, const OutputPathOptions& options,
                std::string& output, std::string& message) {
  const size_t slash = source.rfind('/');
  const std::string fileName = slash == std::string::npos ? source : source.substr(slash + 1);
  const size_t dot = fileName.rfind('.');
  const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);

  std::string base;
  if (mode == OutputFolderMode::SpecificFolder) {
    if (folder.empty() || !MakeFolders(folder)) {
      message = FolderMessage(folder);
      return Outcome::kFailed;
    }
    base = folder;
    if (base.back() != '/') base += '/';
    if (keepTree) {
      base += SourceTree(source);
      if (!MakeFolders(base)) {
        message = FolderMessage(base);
        return Outcome::kFailed;
      }
    }
    base += stem;
  } else {
    base = source.substr(0, source.size() - (fileName.size() - stem.size()));
  }

  const auto claimed = [&options](const std::string& candidate) {
    return options.claimedThisRun != nullptr &&
           options.claimedThisRun->count(FileListKey(candidate)) != 0;
  };
  std::string path = base + newExtension;
  if (claimed(path) || Exists(path)) {
    switch (claimed(path) ? TargetExistsPolicy::Rename : options.targetPolicy) {
      case TargetExistsPolicy::Overwrite:
        if (SameFile(path, source)) {
          message =
              "Target file name is same as original file that can't be overwritten. Please "
              "output files to a custom folder.";
          return Outcome::kRefused;
        }
        break;
      case TargetExistsPolicy::Skip:
        message = kTargetSkippedStatus;
        return Outcome::kRefused;
      default:
        for (long n = 1;; ++n) {
          path = base + "_" + std::to_string(n) + newExtension;
          if (!claimed(path) && !Exists(path)) break;
        }
        break;
    }
  }

  if (!ProveCreatable(path)) {
    message = FileMessage(path);
    return Outcome::kFailed;
  }
  output = path;
  return Outcome::kDone;
}

}  // namespace

bool MakeOutputPath(FileItem& item, const std::string& extension, const OutputPathOptions& options,
                    std::string& message, std::string* fallbackReason) {
  const std::string newExtension = "." + extension;
  OutputFolderMode mode = options.folderMode;
  std::string folder = options.folder;
  bool keepTree = options.keepTree;
  bool fallbackUsed = false;

  for (;;) {
    std::string output;
    const Outcome outcome =
        TryOnce(item.path, newExtension, mode, folder, keepTree, options, output, message);
    if (outcome == Outcome::kDone) {
      item.outputPath = output;
      return true;
    }
    // Skip and same-as-source refusals are final; creation failures may retry
    // once below the documents folder.
    if (outcome == Outcome::kRefused || !options.documentsFallback || fallbackUsed) return false;
    fallbackUsed = true;
    if (!MakeFolders(options.documentsFolder)) return false;
    if (fallbackReason != nullptr) *fallbackReason = message;
    keepTree = mode == OutputFolderMode::SpecificFolder && options.keepTree;
    folder = options.documentsFolder;
    mode = OutputFolderMode::SpecificFolder;
  }
}

}  // namespace quillo
