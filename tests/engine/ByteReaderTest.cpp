#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/media/ByteReader.h"

namespace quillo {
namespace {

using Value = std::optional<uint64_t>;

// Each read at offset 1 of "-abcdefgh": once with the bytes it needs, once
// with one byte fewer. The short read fails, fails the reader, and every read
// after it fails too, even one that would have fitted.
TEST(ByteReader, EveryReadIsBoundedInBothByteOrders) {
  struct Read {
    const char* name;
    size_t width;
    Value (*read)(ByteReader&);
    uint64_t want;
  };
  using enum ByteOrder;
  const Read reads[] = {
      {"u8", 1, [](ByteReader& r) -> Value { return r.U8(); }, 0x61},
      {"u16 big", 2, [](ByteReader& r) -> Value { return r.U16(Big); }, 0x6162},
      {"u16 little", 2, [](ByteReader& r) -> Value { return r.U16(Little); }, 0x6261},
      {"u24 big", 3, [](ByteReader& r) -> Value { return r.U24(Big); }, 0x616263},
      {"u24 little", 3, [](ByteReader& r) -> Value { return r.U24(Little); }, 0x636261},
      {"u32 big", 4, [](ByteReader& r) -> Value { return r.U32(Big); }, 0x61626364},
      {"u32 little", 4, [](ByteReader& r) -> Value { return r.U32(Little); }, 0x64636261},
      {"u64 big", 8, [](ByteReader& r) -> Value { return r.U64(Big); }, 0x6162636465666768},
      {"u64 little", 8, [](ByteReader& r) -> Value { return r.U64(Little); }, 0x6867666564636261},
      {"tag", 4,
       [](ByteReader& r) -> Value {
         const auto tag = r.Tag();
         return tag ? Value(*tag == "abcd") : std::nullopt;
       },
       1},
      {"bytes", 5,
       [](ByteReader& r) -> Value {
         const auto bytes = r.Bytes(5);
         return bytes ? Value(bytes->size() == 5 && (*bytes)[4] == 'e') : std::nullopt;
       },
       1},
      {"skip", 6, [](ByteReader& r) -> Value { return r.Skip(6) ? Value(r.position()) : Value(); },
       7},
      {"seek", 6, [](ByteReader& r) -> Value { return r.Seek(7) ? Value(r.position()) : Value(); },
       7},
  };
  const std::vector<uint8_t> file = {'-', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
  for (const Read& read : reads) {
    SCOPED_TRACE(read.name);
    const std::span<const uint8_t> bytes(file);

    ByteReader whole(bytes.first(1 + read.width));
    ASSERT_TRUE(whole.Skip(1));
    EXPECT_EQ(read.read(whole), Value(read.want));
    EXPECT_TRUE(whole.ok());

    ByteReader cut(bytes.first(read.width));
    ASSERT_TRUE(cut.Skip(1));
    EXPECT_EQ(read.read(cut), std::nullopt);
    EXPECT_FALSE(cut.ok());
    EXPECT_EQ(cut.remaining(), 0u);
    EXPECT_EQ(cut.U8(), std::nullopt);
    EXPECT_FALSE(cut.Seek(0));
  }

  // Counts from a damaged header may be anything: none wraps the position.
  ByteReader huge{std::span<const uint8_t>(file)};
  EXPECT_FALSE(huge.Bytes(UINT64_MAX));
  EXPECT_FALSE(huge.Skip(uint64_t{1} << 63));
  EXPECT_FALSE(huge.ok());
}

}  // namespace
}  // namespace quillo
