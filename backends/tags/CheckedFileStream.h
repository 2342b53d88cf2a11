#pragma once

#include <taglib/tiostream.h>

#include <string>

namespace quillo {

// A file TagLib reads and writes through, which remembers the first read,
// write, truncate or close that failed and the system's reason. TagLib's own
// file stream drops those results, so a tag saved onto a full disk looks
// saved while the file holds half of it; through this stream the caller
// learns that the save failed and why.
//
// After a failed write the stream writes nothing more: the file is already
// damaged, and the caller throws it away.
class CheckedFileStream final : public TagLib::IOStream {
 public:
  // Opens `path` for reading and writing; isOpen() says whether that worked.
  explicit CheckedFileStream(std::string path);
  ~CheckedFileStream() override;

  TagLib::FileName name() const override;
  TagLib::ByteVector readBlock(unsigned long length) override;
  void writeBlock(const TagLib::ByteVector& data) override;
  void insert(const TagLib::ByteVector& data, unsigned long start = 0,
              unsigned long replace = 0) override;
  void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
  bool readOnly() const override;
  bool isOpen() const override;
  void seek(long offset, Position p = Beginning) override;
  void clear() override;
  long tell() const override;
  long length() override;
  void truncate(long length) override;

  // Closes the file; false (with failed() set) when the system reports that
  // written data was lost.
  bool Close();

  // Whether anything went wrong, and the system's words for the first fault
  // ("No space left on device").
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  // Whether the file was changed at all, successfully or not.
  bool written() const { return written_; }

 private:
  // Reads up to `size` bytes at `offset`; fewer only at the end of the file.
  long ReadAt(char* data, size_t size, long offset);
  // Writes all `size` bytes at `offset`; false once any write has failed.
  bool WriteAt(const char* data, size_t size, long offset);
  // Moves the bytes from `from` to the end of the file to `to`, the file
  // ending right after them.
  bool MoveTail(long from, long to);
  void Fail(int error);

  std::string path_;
  int fd_ = -1;
  long position_ = 0;
  std::string error_;
  bool written_ = false;
};

}  // namespace quillo
