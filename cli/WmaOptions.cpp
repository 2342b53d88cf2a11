#include "cli/WmaOptions.h"

#include <algorithm>

#include "catalog/OutputFormat.h"
#include "cli/NumberText.h"
#include "engine/WindowsMediaSupport.h"
#include "settings/SettingDescriptions.h"

namespace quillo {

namespace {

// The listed formats, one line per rate and channel count.
std::string FormatList(const std::vector<WindowsMediaFormat>& formats) {
  struct Group {
    int rate;
    int channels;
    std::string kbps;
  };
  std::vector<Group> groups;
  for (const WindowsMediaFormat& format : formats) {
    auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
      return g.rate == format.sampleRate && g.channels == format.channels;
    });
    if (group == groups.end())
      group = groups.insert(group, {format.sampleRate, format.channels, ""});
    group->kbps += " " + std::to_string(format.bitRate / 1000);
  }
  std::string text;
  for (const Group& group : groups)
    text += "\n  " + std::to_string(group.rate) + " Hz, " +
            (group.channels == 1 ? "Mono" : "Stereo") + ":" + group.kbps + " kbps";
  return text;
}

bool IsWmaOption(const std::string& name) {
  return name == "auto" || name == "rate" || name == "bitrate" || name == "channels";
}

}  // namespace

bool ApplyWmaOptions(const std::vector<std::pair<std::string, std::string>>& options,
                     const OutputFormat& row, ConversionSettings& settings,
                     WindowsMediaRuntime* runtime, std::string& error) {
  if (row.backend != FormatBackend::WindowsMedia) return true;
  int rate = settings.wmaSampleRate;
  int bitRate = settings.wmaBitRate;
  int channels = settings.wmaChannels;
  bool chosen = false;
  for (const auto& [name, value] : options) {
    if (!IsWmaOption(name)) continue;
    if (name == "auto") {
      settings.wmaAutoEncParam = 1;
      chosen = false;
      continue;
    }
    // The bit rate is given in kbps as the format list shows it ("64"); a
    // value of 1000 or more is taken as bit/s, as the settings file stores it.
    const SettingDescription& setting = DescribeSetting(name == "rate"      ? "WMASampleRate"
                                                        : name == "bitrate" ? "WMABitRate"
                                                                            : "WMAChannels");
    const long long low = name == "bitrate" ? 1 : setting.low;
    int32_t number = 0;
    if (!ParseDecimal(value, low, setting.high, number)) {
      error = NumberRangeError("--" + name, low, setting.high, value);
      return false;
    }
    if (name == "bitrate" && number < 1000) number *= 1000;
    (name == "rate" ? rate : name == "bitrate" ? bitRate : channels) = number;
    chosen = true;
  }
  if (!chosen) return true;

  // Asks nothing: the error says what is missing.
  if (!EnsureWindowsMediaRuntime(runtime, nullptr)) {
    error = "Windows Media encoding is not available in this build";
    return false;
  }
  const std::vector<WindowsMediaFormat> formats = ListedWindowsMediaFormats(*runtime);
  const int found = FindListedFormat(formats, rate, bitRate, channels);
  if (found >= 0) {
    const WindowsMediaFormat& format = formats[static_cast<size_t>(found)];
    settings.wmaAutoEncParam = 0;
    settings.wmaSampleRate = format.sampleRate;
    settings.wmaBitRate = format.bitRate;
    settings.wmaChannels = format.channels;
    return true;
  }
  error = std::to_string(rate) + " Hz, " + std::to_string(bitRate / 1000) + " kbps, " +
          std::to_string(channels) +
          " channel(s) is not a Windows Media format; they are:" + FormatList(formats);
  return false;
}

}  // namespace quillo
