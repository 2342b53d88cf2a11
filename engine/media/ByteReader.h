#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillo {

enum class ByteOrder { Big, Little };

// Reads the fields of a file head in order, never past its end. A read that
// would overrun returns nothing and fails the reader: it stays failed, so a
// sequence of reads can be checked once with ok(), and no later read picks up
// bytes from the wrong place.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  size_t position() const { return position_; }
  size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }

  bool Skip(uint64_t count) { return Take(count).has_value(); }
  // Moves to `position` from the start; past the end fails the reader.
  bool Seek(size_t position) {
    if (!ok_ || position > bytes_.size()) return Fail();
    position_ = position;
    return true;
  }

  std::optional<std::span<const uint8_t>> Bytes(uint64_t count) { return Take(count); }

  // A four-character id such as "RIFF", compared as text.
  std::optional<std::string_view> Tag() {
    const auto bytes = Take(4);
    if (!bytes) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  }

  std::optional<uint8_t> U8() { return Unsigned<uint8_t>(1, ByteOrder::Big); }
  std::optional<uint16_t> U16(ByteOrder order) { return Unsigned<uint16_t>(2, order); }
  std::optional<uint32_t> U24(ByteOrder order) { return Unsigned<uint32_t>(3, order); }
  std::optional<uint32_t> U32(ByteOrder order) { return Unsigned<uint32_t>(4, order); }
  std::optional<uint64_t> U64(ByteOrder order) { return Unsigned<uint64_t>(8, order); }

 private:
  bool Fail() {
    ok_ = false;
    return false;
  }

  std::optional<std::span<const uint8_t>> Take(uint64_t count) {
    if (count > remaining()) {
      Fail();
      return std::nullopt;
    }
    const std::span<const uint8_t> taken = bytes_.subspan(position_, static_cast<size_t>(count));
    position_ += static_cast<size_t>(count);
    return taken;
  }

  template <typename T>
  std::optional<T> Unsigned(size_t width, ByteOrder order) {
    const auto bytes = Take(width);
    if (!bytes) return std::nullopt;
    T value = 0;
    for (size_t i = 0; i < width; ++i) {
      const size_t at = order == ByteOrder::Big ? i : width - 1 - i;
      value = static_cast<T>((uint64_t{value} << 8) | (*bytes)[at]);
    }
    return value;
  }

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
  bool ok_ = true;
};

// Up to `bytes` bytes of the file at `path` from `offset`: fewer when the
// file ends sooner, none when it cannot be read. The buffer grows only to
// what the file holds, so a generous limit costs nothing on a small file.
// Callers check first that the path is a regular file: a FIFO would block.
std::vector<uint8_t> ReadFileHead(const std::string& path, uint64_t offset, size_t bytes);

// The whole of the regular file at `path` when it holds 1 to `maxBytes`
// bytes; empty when it is not a regular file, cannot be read, or is empty or
// larger.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxBytes);

}  // namespace quillo
