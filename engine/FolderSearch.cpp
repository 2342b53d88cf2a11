#include "engine/FolderSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/AsciiCase.h"
#include "engine/media/PathName.h"
#include "settings/ConversionSettings.h"

namespace quillo {

namespace fs = std::filesystem;

namespace {

bool IsHidden(const fs::path& path) {
  const std::string name = path.filename().string();
  return !name.empty() && name[0] == '.';
}

// The extension without its dot, lower case; empty when the name has none.
std::string BareExtension(const fs::path& path) {
  const std::string ext = AsciiLower(ExtensionPart(path.native()));
  return ext.empty() ? ext : ext.substr(1);
}

// A filter entry typed with its dot (".wav") matches too.
bool InFilter(const fs::path& path, const CandidateFilter& filter) {
  const std::string ext = BareExtension(path);
  return std::any_of(
      filter.extensions.begin(), filter.extensions.end(), [&](const std::string& entry) {
        return entry == ext ||
               (!entry.empty() && entry[0] == '.' && entry.compare(1, std::string::npos, ext) == 0);
      });
}

// The target of a symbolic link, or empty.
std::string LinkTarget(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return {};
  const fs::path target = fs::canonical(path, ec);
  if (ec || !fs::is_regular_file(target, ec)) return {};
  return target.string();
}

constexpr int kMaxDepth = 64;

// Adds the accepted files of `folder`, then searches its subfolders in name
// order. Links to folders are not followed, so no loop of links can recurse.
void SearchInto(const fs::path& folder, const CandidateFilter& filter, int depth,
                std::vector<std::string>& found, std::vector<std::string>* missed) {
  std::error_code ec;
  std::vector<fs::path> files, children;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError))
      files.push_back(it->path());
    else if (!it->is_symlink(typeError))
      children.push_back(it->path());
  }
  if (ec && missed != nullptr) missed->push_back(folder.string() + " (" + ec.message() + ")");
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string accepted = TestCandidate(file.string(), filter);
    if (!accepted.empty()) found.push_back(std::move(accepted));
  }
  std::sort(children.begin(), children.end());
  for (const fs::path& child : children) {
    if (depth >= kMaxDepth) {
      if (missed != nullptr)
        missed->push_back(child.string() + " (more than " + std::to_string(kMaxDepth) +
                          " folders deep)");
      continue;
    }
    SearchInto(child, filter, depth + 1, found, missed);
  }
}

}  // namespace

std::string TestCandidate(const std::string& path, const CandidateFilter& filter) {
  std::string current = path;
  // A link is followed at most once per test, so a link to a link ends.
  for (int hops = 0; hops < 8; ++hops) {
    const fs::path p(current);
    bool rejected = filter.skipHidden && IsHidden(p);
    if (!rejected && filter.useExtensionFilter && !InFilter(p, filter)) rejected = true;
    if (!rejected) return current;
    const std::string target = LinkTarget(p);
    if (target.empty()) return {};
    current = target;
  }
  return {};
}

CandidateFilter CandidateFilterFrom(const ConversionSettings& settings) {
  CandidateFilter filter;
  filter.skipHidden = settings.doNotLoadHiddenFiles != 0;
  filter.useExtensionFilter = settings.enableExtFilter != 0;
  filter.extensions = settings.extensionFilter;
  return filter;
}

std::vector<std::string> SearchFolder(const std::string& folder, const CandidateFilter& filter,
                                      std::vector<std::string>* missed) {
  std::vector<std::string> found;
  SearchInto(folder, filter, 0, found, missed);
  return found;
}

}  // namespace quillo
