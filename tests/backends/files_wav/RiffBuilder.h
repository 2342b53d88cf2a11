#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace quillo::test {

// Builds RIFF files byte by byte, so that tests can make both good files and
// every kind of broken one.
class RiffBuilder {
 public:
  // Starts with "RIFF", a size patched by Bytes(), and the form type.
  explicit RiffBuilder(const std::string& form = "WAVE") {
    Raw("RIFF");
    U32(0);
    Raw(form);
  }

  RiffBuilder& Raw(const std::string& bytes) {
    data_.insert(data_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  RiffBuilder& U32(uint32_t value) {
    PutInt(data_, value, 4, false);
    return *this;
  }
  // A chunk with its real size and, for an odd size, the zero pad byte.
  RiffBuilder& Chunk(const std::string& id, const std::string& body, bool pad = true) {
    Raw(id).U32(static_cast<uint32_t>(body.size())).Raw(body);
    if (pad && body.size() % 2 == 1) data_.push_back(0);
    return *this;
  }
  // A "fmt " chunk of 16-bit mono PCM at 8000 Hz (format, channels, rate,
  // bytes a second, block size, bits), and a short "data" chunk.
  RiffBuilder& PcmFormat() {
    std::vector<uint8_t> fmt;
    for (const auto& [value, bytes] :
         {std::pair{1, 2}, {1, 2}, {8000, 4}, {16000, 4}, {2, 2}, {16, 2}})
      PutInt(fmt, value, bytes, false);
    return Chunk("fmt ", std::string(fmt.begin(), fmt.end())).Chunk("data", std::string(64, '\0'));
  }

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out = data_;
    const auto size = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(size >> (8 * i));
    return out;
  }

 private:
  std::vector<uint8_t> data_;
};

// One INFO sub-chunk: id, size and text (with a terminating zero when `zero`),
// padded to an even length.
inline std::string SubChunk(const std::string& id, const std::string& text, bool zero = true) {
  std::string body = text;
  if (zero) body += '\0';
  std::string out = id;
  const auto size = static_cast<uint32_t>(body.size());
  for (int i = 0; i < 4; ++i) out += static_cast<char>(size >> (8 * i));
  out += body;
  if (body.size() % 2 == 1) out += '\0';
  return out;
}

}  // namespace quillo::test
