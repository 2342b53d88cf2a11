#include "cli/EncoderOptions.h"

#include <array>
#include <string_view>

#include "catalog/Catalog.h"

namespace quillo {

namespace {

// False with the error naming the chosen format, when it is not `formatId`.
bool AppliesTo(int32_t formatId, const std::string& name, OptionTarget& target) {
  if (target.row.formatId == formatId) return true;
  target.error = "--" + name + " does not apply" + FormatListText(target.row);
  return false;
}

// Sets `field` to the position of `value` among `words`; false, with the
// words in the error, when it is none of them.
template <size_t N>
bool ChooseWord(const std::string& name, const std::string& value,
                const std::array<std::string_view, N>& words, int32_t& field, std::string& error) {
  for (size_t i = 0; i < N; ++i) {
    if (words[i] != value) continue;
    field = static_cast<int32_t>(i);
    return true;
  }
  error = "bad value \"" + value + "\" for --" + name + " (";
  for (size_t i = 0; i < N; ++i) error += std::string(i == 0 ? "" : ", ") + std::string(words[i]);
  error += ")";
  return false;
}

}  // namespace

bool ApplyVbr(const std::string& name, const std::string& value, OptionTarget& target) {
  static constexpr std::array<std::string_view, 2> kWords = {"off", "on"};
  return AppliesTo(format_id::kOpus, name, target) &&
         ChooseWord(name, value, kWords, target.settings.opusVbr, target.error);
}

bool ApplyCompression(const std::string& name, const std::string& value, OptionTarget& target) {
  // The encoder's levels 0 to 3.
  static constexpr std::array<std::string_view, 4> kWords = {"fast", "normal", "high", "very-high"};
  return AppliesTo(format_id::kWavPack, name, target) &&
         ChooseWord(name, value, kWords, target.settings.wavPackCompression, target.error);
}

}  // namespace quillo
