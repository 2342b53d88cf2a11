#include "cli/EncoderOptions.h"

#include "catalog/Catalog.h"

namespace quillo {

namespace {

// False with the error naming the chosen format, when it is not `formatId`.
bool AppliesTo(int32_t formatId, const CliOption& option, OptionTarget& target) {
  if (target.row.formatId == formatId) return true;
  target.error = "--" + std::string(option.name) + " does not apply" + FormatListText(target.row);
  return false;
}

bool Refuse(const CliOption& option, const std::string& value, std::string& error) {
  error = "--" + std::string(option.name) + " takes " + option.setting->AllowedText() + ", not \"" +
          value + "\"";
  return false;
}

}  // namespace

bool ApplyVbr(const CliOption& option, const std::string& value, OptionTarget& target) {
  if (!AppliesTo(format_id::kOpus, option, target)) return false;
  if (value != "on" && value != "off") return Refuse(option, value, target.error);
  target.settings.opusVbr = value == "on" ? 1 : 0;
  return true;
}

bool ApplyCompression(const CliOption& option, const std::string& value, OptionTarget& target) {
  return AppliesTo(format_id::kWavPack, option, target) &&
         (FindChoiceWord(*option.setting, value, target.settings.wavPackCompression) ||
          Refuse(option, value, target.error));
}

}  // namespace quillo
