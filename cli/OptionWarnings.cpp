#include "cli/OptionWarnings.h"

#include <algorithm>
#include <set>

#include "base/AsciiCase.h"
#include "catalog/Catalog.h"
#include "settings/SettingsStore.h"

namespace quillo {
namespace {

bool IsTagText(const std::string& name) {
  return std::any_of(std::begin(kTagTexts), std::end(kTagTexts),
                     [&name](const TagText& text) { return AsciiLower(text.name) == name; });
}

// The volume option that chose the final volume mode.
const char* VolumeOption(VolumeMode mode) {
  switch (mode) {
    case VolumeMode::Normalize:
      return "--normalize";
    case VolumeMode::Manual:
      return "--volume";
    case VolumeMode::Keep:
      return "--keep-volume";
    case VolumeMode::Loudness:
      return "--loudness";
  }
  return "";
}

// Why the option `name` (with `value`) has no effect on the final
// `settings`, or nothing when it has one.
std::string Useless(const std::string& name, const std::string& value,
                    const ConversionSettings& settings, const OutputFormat* row) {
  const TagMode tags = settings.id3TagType;
  if (name == "pictures" && value == "on" && tags != TagMode::FromSource)
    return "has no effect unless the tags come from the source (--tags source)";
  if (name == "replaygain" && value != "off" && tags == TagMode::None)
    return "has no effect with --tags none";
  if (name == "by-album" && settings.volumeType != VolumeMode::Loudness)
    return "has no effect without --loudness";
  if ((IsTagText(name) || name == "title-from-name" || name == "track") && tags != TagMode::Custom)
    return "has no effect unless the tags are custom (--tags custom)";
  if (name == "title" && settings.tags.titleAsFileName != 0)
    return "has no effect with --title-from-name";
  if ((name == "volume" && settings.volumeType != VolumeMode::Manual) ||
      (name == "loudness" && settings.volumeType != VolumeMode::Loudness))
    return std::string("has no effect: ") + VolumeOption(settings.volumeType) + " comes after it";
  if (name == "keep-tree" && settings.destOutputFolderOpt == OutputFolderMode::SameAsSource)
    return "has no effect with --same-folder";
  if ((name == "rate" || name == "bitrate" || name == "channels") && row != nullptr &&
      HasOwnCodecSettings(*row) && row->autoEncParam != 0)
    return "has no effect: --auto comes after it";
  return {};
}

}  // namespace

std::vector<std::string> IgnoredOptionWarnings(const ConvertArguments& arguments,
                                               const ConversionSettings& settings) {
  const OutputFormat* row = FindFormat(settings.formats, settings.outputFormat);
  std::vector<std::string> warnings;
  std::set<std::string> told;
  for (const auto& [name, value] : arguments.options) {
    const std::string why = Useless(name, value, settings, row);
    if (!why.empty() && told.insert(name).second) warnings.push_back("--" + name + " " + why);
  }
  return warnings;
}

}  // namespace quillo
