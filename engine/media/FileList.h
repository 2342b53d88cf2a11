#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/FileItem.h"

namespace quillo {

// The list that ProbeFile appends to. Paths are keyed by their canonical
// form, so that a link or a "../" spelling of a listed file is a duplicate
// while "A.mp3" and "a.mp3" stay two files.
// Threads: ProbeFile and ProbeFiles call it only on the thread that called
// them, one call after the other; a conversion never calls it.
class FileList {
 public:
  virtual ~FileList() = default;
  virtual bool ContainsKey(const std::string& key) const = 0;
  // Appends the row, enters `key` into the path set, returns the row index.
  virtual int Append(FileItem item, const std::string& key) = 0;
};

// The list key of a path: symbolic links and ".." resolved, case kept.
std::string FileListKey(const std::string& path);

// Whether two paths reach one file: the same path, or, when both exist, the
// same device and inode (a bind mount, a hard link or any other second path to
// the file). An output that is its own source must be refused by this test,
// since names alone miss the second path.
bool SameFile(const std::string& a, const std::string& b);

// A plain list, for the command line and tests.
class MemoryFileList : public FileList {
 public:
  bool ContainsKey(const std::string& key) const override { return keys_.count(key) != 0; }
  int Append(FileItem item, const std::string& key) override;

  const std::vector<FileItem>& Items() const { return items_; }
  std::vector<FileItem>& Items() { return items_; }

 private:
  std::vector<FileItem> items_;
  std::unordered_map<std::string, size_t> keys_;
};

}  // namespace quillo
