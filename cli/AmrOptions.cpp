#include "cli/AmrOptions.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <string_view>

#include "catalog/AmrModes.h"
#include "catalog/Catalog.h"
#include "settings/SettingDescriptions.h"

namespace quillo {

namespace {

// A rate in kbit/s written in decimal digits with an optional fraction after
// a point ("12.2", "6.60"), under any locale; nothing for any other text
// ("0x1p3", " 12.2", "inf", "12,2").
std::optional<double> DecimalKbps(std::string_view text) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto digitsOnly = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digitsOnly(whole) || (point != std::string_view::npos && !digitsOnly(fraction)))
    return std::nullopt;
  double kbps = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), kbps);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return kbps;
}

// The mode whose rate `text` gives in kbit/s ("12.2", "6.6" or "6.60"), or -1.
int ModeOf(const std::string& text, std::span<const std::string_view> modes) {
  const std::optional<double> kbps = DecimalKbps(text);
  if (!kbps) return -1;
  for (size_t mode = 0; mode < modes.size(); ++mode)
    if (std::abs(DecimalKbps(modes[mode]).value_or(-1) - *kbps) < 0.001)
      return static_cast<int>(mode);
  return -1;
}

std::string ModeList(std::span<const std::string_view> modes) {
  std::string list;
  for (std::string_view mode : modes) list += " " + std::string(mode);
  return list;
}

}  // namespace

bool ApplyAmrOptions(const std::vector<std::pair<std::string, std::string>>& options,
                     const OutputFormat& row, ConversionSettings& settings, std::string& error) {
  const bool amr = row.formatId == format_id::kAmr;
  const bool awb = row.formatId == format_id::kAwb;
  for (const char* name : {"band", "mode", "dtx"}) {
    for (const auto& entry : options) {
      // Named references rather than structured bindings: the lambda below captures them,
      // which older clang refuses for bindings.
      const std::string& option = entry.first;
      const std::string& value = entry.second;
      if (option != name) continue;
      if ((!amr && !awb) || (awb && option == "band")) {
        error = "--" + option + " does not apply" + FormatListText(row);
        return false;
      }
      const auto bad = [&](const std::string& detail) {
        error = "bad value \"" + value + "\" for --" + option + detail;
        return false;
      };
      const auto refuse = [&](const SettingDescription& setting) {
        error = "--" + option + " takes " + setting.AllowedText() + ", not \"" + value + "\"";
        return false;
      };
      if (option == "band") {
        const SettingDescription& bands = DescribeSetting("AMRType");
        int32_t band = 0;
        if (!FindChoiceWord(bands, value, band)) return refuse(bands);
        settings.amrType = static_cast<AmrBand>(band);
      } else if (option == "dtx") {
        if (value != "on" && value != "off") return refuse(DescribeSetting("AMRDTX"));
        (amr ? settings.amrDtx : settings.awbDtx) = value == "on" ? 1 : 0;
      } else {
        const bool narrow = amr && settings.amrType == AmrBand::Narrow;
        const std::span<const std::string_view> modes =
            narrow ? std::span<const std::string_view>(kAmrNarrowBandModes)
                   : std::span<const std::string_view>(kAmrWideBandModes);
        const int mode = ModeOf(value, modes);
        if (mode < 0)
          return bad(std::string("; the ") + (narrow ? "narrow" : "wide") +
                     "-band modes in kbit/s are" + ModeList(modes));
        (narrow ? settings.amrMode : amr ? settings.amrWbMode : settings.awbMode) = mode;
      }
    }
  }
  return true;
}

}  // namespace quillo
