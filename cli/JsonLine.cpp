#include "cli/JsonLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/media/FixedText.h"
#include "engine/media/Utf8.h"

namespace quillo {

namespace {

// The length of the UTF-8 sequence that `lead` starts; 1 for a byte that
// starts none.
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

}  // namespace

std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string json = "\"";
  size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      const std::string_view sequence = text.substr(i, SequenceLength(byte));
      if (sequence.size() > 1 && IsValidUtf8(sequence)) {
        json += sequence;
        i += sequence.size();
      } else {
        json += "\\ufffd";
        ++i;
      }
      continue;
    }
    if (byte == '"' || byte == '\\') {
      json += '\\';
      json += static_cast<char>(byte);
    } else if (byte == '\n') {
      json += "\\n";
    } else if (byte == '\t') {
      json += "\\t";
    } else if (byte == '\r') {
      json += "\\r";
    } else if (byte < 0x20 || byte == 0x7f) {
      json += "\\u00";
      json += kHex[byte >> 4];
      json += kHex[byte & 0x0f];
    } else {
      json += static_cast<char>(byte);
    }
    ++i;
  }
  return json + '"';
}

std::string Base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string encoded;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t have = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k)
      group = (group << 8) | (k < have ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k)
      encoded += k <= have ? kAlphabet[(group >> (18 - 6 * k)) & 0x3f] : '=';
  }
  return encoded;
}

JsonLine& JsonLine::Member(std::string_view key, std::string_view json) {
  if (text_.size() > 1) text_ += ", ";
  text_ += JsonString(key) + ": ";
  text_ += json;
  return *this;
}

JsonLine& JsonLine::Text(std::string_view key, std::string_view value) {
  return Member(key, JsonString(value));
}

JsonLine& JsonLine::Path(std::string_view key, std::string_view path) {
  if (path.empty()) return Null(key);
  Text(key, path);
  if (!IsValidUtf8(path)) Member(std::string(key) + "_base64", JsonString(Base64(path)));
  return *this;
}

JsonLine& JsonLine::Integer(std::string_view key, long long value, bool known) {
  return known ? Member(key, std::to_string(value)) : Null(key);
}

JsonLine& JsonLine::Number(std::string_view key, double value, int decimals) {
  if (!std::isfinite(value)) return Null(key);
  return Member(key, FixedText(value, decimals));
}

JsonLine& JsonLine::Null(std::string_view key) { return Member(key, "null"); }

}  // namespace quillo
