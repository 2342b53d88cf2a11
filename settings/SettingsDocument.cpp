#include "settings/SettingsDocument.h"

#include <unistd.h>

#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/RegularFile.h"

namespace quillo {
namespace {

// Linux gives up on a chain of links after 40; so do we.
constexpr int kMaxLinks = 40;

std::string Reason(int error) { return std::strerror(error); }

constexpr const char* kTooLarge = "is larger than 1 MiB, more than settings take";

SettingsDocument Unusable(std::string problem) {
  SettingsDocument document;
  document.state = SettingsDocument::State::Unusable;
  document.problem = std::move(problem);
  return document;
}

}  // namespace

std::string FollowLinks(const std::string& path) {
  std::filesystem::path current(path);
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(current, ec)) break;
    const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
    if (ec) break;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current.string();
}

SettingsDocument ReadSettingsDocument(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 && errno == ENOENT) return {};
  if (const std::string problem = RegularFileProblem(path); !problem.empty())
    return Unusable("cannot be read (" + problem + ")");
  uint64_t size = 0;
  const FileHandle file = OpenRegularFile(path, size);
  if (!file || fstat(fileno(file.get()), &info) != 0)
    return Unusable("cannot be read (" + Reason(errno) + ")");
  if (size > kMaxSettingsBytes) return Unusable(kTooLarge);

  SettingsDocument document;
  document.state = SettingsDocument::State::Read;
  document.info = info;
  // One byte past the limit tells a file that grew since it was measured.
  document.bytes.resize(kMaxSettingsBytes + 1);
  const std::size_t filled =
      std::fread(document.bytes.data(), 1, document.bytes.size(), file.get());
  if (std::ferror(file.get()) != 0) return Unusable("cannot be read (" + Reason(errno) + ")");
  if (filled > kMaxSettingsBytes) return Unusable(kTooLarge);
  document.bytes.resize(filled);
  return document;
}

std::string BinaryProblem(const std::string& bytes) {
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    // Our writer escapes every control character; a hand-edited file may
    // still hold tabs, line ends and form feeds.
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != '\v')
      return "holds binary data, not settings";
  }
  return {};
}

bool ReplaceSettingsDocument(const std::string& path, const std::string& bytes,
                             const struct stat* existing, std::string& error) {
  QSaveFile out(QString::fromStdString(path));
  if (!out.open(QIODevice::WriteOnly)) {
    error = out.errorString().toStdString();
    return false;
  }
  if (existing != nullptr) {
    const int fd = out.handle();
    struct stat created {};
    if (fstat(fd, &created) != 0) {
      error = Reason(errno);
      out.cancelWriting();
      return false;
    }
    // Root saving a user's file leaves it the user's.
    if ((created.st_uid != existing->st_uid || created.st_gid != existing->st_gid) &&
        fchown(fd, existing->st_uid, existing->st_gid) != 0) {
      error = "its owner cannot be kept (" + Reason(errno) + ")";
      out.cancelWriting();
      return false;
    }
    if (fchmod(fd, existing->st_mode & 07777) != 0) {
      error = "its permissions cannot be kept (" + Reason(errno) + ")";
      out.cancelWriting();
      return false;
    }
  }
  const auto size = static_cast<qint64>(bytes.size());
  if (out.write(bytes.data(), size) != size || !out.flush()) {
    error = out.errorString().toStdString();
    out.cancelWriting();
    return false;
  }
  // commit() syncs the new file to disk before the rename: a crash leaves
  // the old file or the new one.
  if (!out.commit()) {
    error = out.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace quillo
