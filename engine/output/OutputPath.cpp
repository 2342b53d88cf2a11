#include "engine/output/OutputPath.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/media/FileList.h"
#include "engine/media/PathName.h"
#include "engine/output/NamePattern.h"
#include "engine/output/PendingOutput.h"

namespace quillo {

const char* const kTargetSkippedStatus = "Target exists and skipped";

namespace {

namespace fs = std::filesystem;

enum class Outcome { kDone, kRefused, kFailed };

std::string FolderMessage(const std::string& folder) {
  return "Failed to create folder \"" + folder + "\"";
}

// Makes `path` a folder, creating every missing folder on the way. True when
// the path already is a folder or was made one; false when a part of it exists
// as something other than a folder or cannot be created.
bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  return !ec && fs::is_directory(path, ec);
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

// Whether the file system takes a file name that long in that folder.
bool NameFits(const std::string& path) {
  const fs::path target(path);
  const size_t length = target.filename().string().size();
  if (length <= 255) return true;  // what every Linux file system takes
  std::string folder = target.parent_path().string();
  if (folder.empty()) folder = ".";
  const long nameMax = pathconf(folder.c_str(), _PC_NAME_MAX);
  return nameMax > 0 && length <= static_cast<size_t>(nameMax);
}

// Proves that `path` can be created, without ever making the real name: the
// hidden temporary file the conversion will write is made and removed, so
// that a kill at this moment leaves no empty file under the final name for a
// later "skip" run to take for done. An existing target (overwrite) must be a
// writable file, and is left as it is. On failure, `reason` says why in the
// system's words.
//
// A folder where this run already proved a new name is not probed again, so
// that many outputs into one folder cost one probe.
bool ProveCreatable(const std::string& path, const OutputPathOptions& options,
                    std::string& reason) {
  const bool exists = Exists(path);
  if (exists) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
      reason = std::strerror(EISDIR);
      return false;
    }
    if (!fs::is_regular_file(path, ec)) {
      reason = "Not a regular file";
      return false;
    }
    if (access(path.c_str(), W_OK) != 0) {
      reason = std::strerror(errno);
      return false;
    }
  } else if (path.size() >= PATH_MAX || !NameFits(path)) {
    reason = std::strerror(ENAMETOOLONG);
    return false;
  }
  const std::string folder = fs::path(path).parent_path().string();
  std::set<std::string>* proven = options.provenFolders;
  if (!exists && proven != nullptr && proven->count(folder) != 0) return true;
  PendingOutput probe(path);
  if (!probe.Create()) {
    reason = probe.error();
    return false;
  }
  if (proven != nullptr) proven->insert(folder);
  return true;
}

// The numbered variant of `base` ("song_2.mp3"), its name cut where the
// number would make it longer than a file system takes.
std::string NumberedPath(const std::string& base, long n, const std::string& newExtension) {
  const std::string suffix = "_" + std::to_string(n) + newExtension;
  const size_t cut = base.rfind('/') + 1;  // 0 without a "/"
  std::string name = base.substr(cut);
  if (name.size() + suffix.size() > 255 && suffix.size() < 255)
    CutNamePart(name, 255 - suffix.size());
  return base.substr(0, cut) + name + suffix;
}

// The output's name without extension below `folder` (which ends in "/" or
// is empty): the source's name, or the name pattern filled in, its folders
// made. False when they cannot be, with the message set.
bool AddName(std::string& base, const std::string& source, const std::string& newExtension,
             const OutputPathOptions& options, std::string& message) {
  if (options.namePattern.empty()) {
    base += StemPart(source);
    return true;
  }
  const TagInfo none;
  const std::string name =
      ExpandNamePattern(options.namePattern, options.nameTags != nullptr ? *options.nameTags : none,
                        source, newExtension.size());
  const size_t cut = name.rfind('/');
  if (cut != std::string::npos && !MakeFolders(base + name.substr(0, cut + 1))) {
    message = FolderMessage(base + name.substr(0, cut + 1));
    return false;
  }
  base += name;
  return true;
}

// One attempt at the output of `source` in the folder `options` name.
Outcome TryOnce(const std::string& source, const std::string& newExtension,
                const OutputPathOptions& options, std::string& output, std::string& message) {
  const std::string& folder = options.folder;
  std::string base;
  if (options.folderMode == OutputFolderMode::SpecificFolder) {
    if (folder.empty() || !MakeFolders(folder)) {
      message = FolderMessage(folder);
      return Outcome::kFailed;
    }
    base = folder;
    if (base.back() != '/') base += '/';
    if (options.keepTree) {
      base += SourceTree(source);
      if (!MakeFolders(base)) {
        message = FolderMessage(base);
        return Outcome::kFailed;
      }
    }
    if (!AddName(base, source, newExtension, options, message)) return Outcome::kFailed;
  } else if (options.namePattern.empty()) {
    base = source.substr(0, source.size() - ExtensionPart(source).size());
  } else {
    base = source.substr(0, source.rfind('/') + 1);
    if (!AddName(base, source, newExtension, options, message)) return Outcome::kFailed;
  }

  const bool anyClaimed = options.claimedThisRun != nullptr && !options.claimedThisRun->empty();
  const auto claimed = [&](const std::string& candidate) {
    return anyClaimed && options.claimedThisRun->count(OutputListKey(candidate, options)) != 0;
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
      default: {
        // Numbers below the one kept for this base were taken when last
        // looked at; the search starts there.
        long n = 1;
        if (options.nextNumbers != nullptr) {
          const auto known = options.nextNumbers->find(base + newExtension);
          if (known != options.nextNumbers->end()) n = known->second;
        }
        for (;; ++n) {
          path = NumberedPath(base, n, newExtension);
          if (!claimed(path) && !Exists(path)) break;
        }
        if (options.nextNumbers != nullptr) (*options.nextNumbers)[base + newExtension] = n + 1;
        break;
      }
    }
  }

  std::string reason;
  if (!ProveCreatable(path, options, reason)) {
    message = CreateFileMessage(path, reason);
    // A file name too long for the file system is as long in the documents
    // folder: the message keeps naming the folder that was asked for.
    return NameFits(path) ? Outcome::kFailed : Outcome::kRefused;
  }
  output = path;
  return Outcome::kDone;
}

}  // namespace

std::string CreateFileMessage(const std::string& path, const std::string& reason) {
  const std::string message = "Failed to create file \"" + path + "\"";
  return reason.empty() ? message : message + " (" + reason + ")";
}

std::string OutputListKey(const std::string& path, const OutputPathOptions& options) {
  const size_t cut = path.rfind('/');
  if (options.folderKeys == nullptr || cut == std::string::npos || cut == 0)
    return FileListKey(path);
  const std::string folder = path.substr(0, cut);
  auto known = options.folderKeys->find(folder);
  if (known == options.folderKeys->end()) {
    std::string key = FileListKey(folder);
    if (!key.empty() && key.back() == '/') key.pop_back();
    known = options.folderKeys->emplace(folder, std::move(key)).first;
  }
  // "." and ".." are no names of their own: the file system resolves them.
  const std::string name = path.substr(cut + 1);
  if (name.empty() || name == "." || name == "..") return FileListKey(path);
  return known->second + "/" + name;
}

bool MakeOutputPath(FileItem& item, const std::string& extension, const OutputPathOptions& options,
                    std::string& message, std::string* fallbackReason) {
  const std::string newExtension = "." + extension;
  OutputPathOptions attempt = options;
  bool fallbackUsed = false;

  for (;;) {
    std::string output;
    const Outcome outcome = TryOnce(item.path, newExtension, attempt, output, message);
    if (outcome == Outcome::kDone) {
      item.outputPath = output;
      return true;
    }
    // Skip, same-as-source and too-long-name refusals are final; creation
    // failures may retry once below the documents folder.
    if (outcome == Outcome::kRefused || !options.documentsFallback || fallbackUsed) return false;
    fallbackUsed = true;
    if (!MakeFolders(options.documentsFolder)) return false;
    if (fallbackReason != nullptr) *fallbackReason = message;
    attempt.keepTree = attempt.folderMode == OutputFolderMode::SpecificFolder && options.keepTree;
    attempt.folder = options.documentsFolder;
    attempt.folderMode = OutputFolderMode::SpecificFolder;
  }
}

std::string SuggestedJoinPath(OutputFolderMode mode, const std::string& folder,
                              const std::string& firstSource, const std::string& extension) {
  const fs::path start = mode == OutputFolderMode::SameAsSource || folder.empty()
                             ? fs::path(firstSource).parent_path()
                             : fs::path(folder);
  return (start / (fs::path(firstSource).stem().string() + "." + extension)).string();
}

}  // namespace quillo
