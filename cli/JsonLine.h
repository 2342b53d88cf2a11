#pragma once

#include <string>
#include <string_view>

namespace quillo {

// `text` as a JSON string, quotes included. Control characters, quotes and
// backslashes are escaped; a byte that is not part of valid UTF-8 becomes
// U+FFFD, so that the result is always valid JSON.
std::string JsonString(std::string_view text);

// `bytes` in base64 (RFC 4648, with padding).
std::string Base64(std::string_view bytes);

// One JSON object on one line (JSON Lines), its members in the order added.
class JsonLine {
 public:
  JsonLine& Text(std::string_view key, std::string_view value);
  // A path: as Text, null when empty; a path that is not valid UTF-8 also
  // gets the member KEY_base64 with its bytes, so that no name is lost.
  JsonLine& Path(std::string_view key, std::string_view path);
  // A whole number; null when `known` is false.
  JsonLine& Integer(std::string_view key, long long value, bool known = true);
  // A number with `decimals` places; null when it is not finite.
  JsonLine& Number(std::string_view key, double value, int decimals);
  JsonLine& Null(std::string_view key);
  JsonLine& Bool(std::string_view key, bool value) { return Member(key, value ? "true" : "false"); }

  // The object with its line feed.
  std::string Line() const { return text_ + "}\n"; }

 private:
  JsonLine& Member(std::string_view key, std::string_view json);
  std::string text_ = "{";
};

}  // namespace quillo
