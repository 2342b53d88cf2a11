#include "backends/amr/AmrStorageFormat.h"

#include <algorithm>

namespace quillo {

namespace {

bool StartsWith(std::span<const uint8_t> head, std::string_view magic) {
  return head.size() >= magic.size() &&
         std::equal(magic.begin(), magic.end(), head.begin(),
                    [](char m, uint8_t b) { return static_cast<uint8_t>(m) == b; });
}

}  // namespace

const AmrStorageFormat* AmrFormatOfHead(std::span<const uint8_t> head) {
  if (head.size() < kAmrHeadBytes) return nullptr;
  if (StartsWith(head, kAmrNarrowBand.magic)) return &kAmrNarrowBand;
  if (StartsWith(head, kAmrWideBand.magic)) return &kAmrWideBand;
  return nullptr;
}

int AmrFrameType(uint8_t header) { return (header >> 3) & 0x0F; }

}  // namespace quillo
