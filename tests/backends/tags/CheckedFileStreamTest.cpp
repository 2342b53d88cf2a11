#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "backends/tags/CheckedFileStream.h"
#include "tests/support/TestSupport.h"

namespace quillo {
namespace {

TagLib::ByteVector Bytes(const std::string& text) {
  return {text.data(), static_cast<unsigned>(text.size())};
}

// Text of `size` bytes that differ from one position to the next, so that a
// piece moved to the wrong place shows.
std::string Pattern(size_t size, char seed) {
  std::string text(size, '\0');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>(seed + i * 7 + i / 251);
  return text;
}

// Each edit TagLib makes, done on a file through the stream and on a string
// the same way: the file must end up as the string. The sizes cross the
// stream's 64 KiB move buffer.
TEST(CheckedFileStream, EditsLeaveTheBytesTagLibAskedFor) {
  struct Case {
    const char* name;
    size_t fileSize;
    std::function<void(CheckedFileStream&)> edit;
    std::function<void(std::string&)> expected;
  };
  const std::string big = Pattern(70000, 'a');
  const Case cases[] = {
      {"insert growing at the start", 200000, [&](auto& s) { s.insert(Bytes(big), 0, 10); },
       [&](std::string& t) { t.replace(0, 10, big); }},
      {"insert shrinking in the middle", 200000,
       [&](auto& s) { s.insert(Bytes("xyz"), 500, 90000); },
       [&](std::string& t) { t.replace(500, 90000, "xyz"); }},
      {"insert of the same size", 1000, [&](auto& s) { s.insert(Bytes("1234"), 996, 4); },
       [&](std::string& t) { t.replace(996, 4, "1234"); }},
      {"insert into an empty file", 0, [&](auto& s) { s.insert(Bytes(big), 0, 0); },
       [&](std::string& t) { t = big; }},
      {"remove a block", 150000, [&](auto& s) { s.removeBlock(10, 65537); },
       [&](std::string& t) { t.erase(10, 65537); }},
      {"write past the end after a seek from it", 100,
       [&](auto& s) {
         s.seek(-10, TagLib::IOStream::End);
         s.writeBlock(Bytes(std::string(30, 'Z')));
       },
       [&](std::string& t) { t.replace(90, 10, std::string(30, 'Z')); }},
      {"truncate", 5000, [&](auto& s) { s.truncate(1234); },
       [&](std::string& t) { t.resize(1234); }},
  };
  test::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.File("file");
    std::string model = Pattern(c.fileSize, 'A');
    test::WriteFile(path, {model.begin(), model.end()});
    CheckedFileStream stream(path);
    ASSERT_TRUE(stream.isOpen());
    c.edit(stream);
    c.expected(model);
    EXPECT_EQ(stream.length(), static_cast<long>(model.size()));
    stream.seek(0);
    const TagLib::ByteVector read = stream.readBlock(1u << 30);
    EXPECT_TRUE(std::string(read.data(), read.size()) == model);
    EXPECT_TRUE(stream.Close()) << "nothing failed";
    const std::vector<uint8_t> file = test::ReadFile(path);
    EXPECT_TRUE(std::string(file.begin(), file.end()) == model);
  }
}

// A write that the disk refuses is remembered with the system's words, and
// nothing is written after it.
TEST(CheckedFileStream, AFailedWriteIsRememberedWithItsReason) {
  CheckedFileStream full("/dev/full");
  ASSERT_TRUE(full.isOpen());
  full.writeBlock(Bytes("tag"));
  EXPECT_TRUE(full.failed());
  EXPECT_TRUE(full.written());
  EXPECT_EQ(full.error(), "No space left on device");
  EXPECT_FALSE(full.Close());

  CheckedFileStream missing("/nonexistent/file");
  EXPECT_FALSE(missing.isOpen());
  EXPECT_FALSE(missing.written());
  EXPECT_EQ(missing.error(), "No such file or directory");
}

}  // namespace
}  // namespace quillo
