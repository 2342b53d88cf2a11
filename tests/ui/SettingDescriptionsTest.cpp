#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <sstream>

#include "catalog/Catalog.h"
#include "cli/Commands.h"
#include "cli/ConvertOptions.h"
#include "cli/NumberText.h"
#include "cli/OptionTable.h"
#include "settings/SettingsProvider.h"
#include "settings/SettingsStore.h"
#include "tests/ui/OptionsTestSupport.h"

namespace quillo::test {
namespace {

// Settings kept in memory: the walk below saves and loads some two hundred
// times, and the settings file makes each save durable on disk.
class MemorySettings final : public SettingsProvider {
 public:
  bool hasGroup(std::string_view group) const override {
    return std::any_of(values_.begin(), values_.end(),
                       [group](const auto& entry) { return entry.first.first == group; });
  }
  std::optional<int32_t> readNumber(std::string_view group, std::string_view name) const override {
    const auto found = values_.find({std::string(group), std::string(name)});
    if (found == values_.end()) return std::nullopt;
    int32_t number = 0;
    if (!ParseDecimal(found->second, std::numeric_limits<int32_t>::min(),
                      std::numeric_limits<int32_t>::max(), number))
      return std::nullopt;
    return number;
  }
  std::optional<std::string> readText(std::string_view group,
                                      std::string_view name) const override {
    const auto found = values_.find({std::string(group), std::string(name)});
    if (found == values_.end()) return std::nullopt;
    return found->second;
  }
  void writeNumber(std::string_view group, std::string_view name, int32_t value) override {
    values_[{std::string(group), std::string(name)}] = std::to_string(value);
  }
  void writeText(std::string_view group, std::string_view name, std::string_view value) override {
    values_[{std::string(group), std::string(name)}] = std::string(value);
  }
  bool commit() override { return true; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

// The edit of a number on the option pages: its page and object name.
const std::map<std::string_view, std::pair<const char*, const char*>> kPageEdits = {
    {"SkipLength", {"General", "skipEdit"}},  {"ConvertLength", {"General", "lengthEdit"}},
    {"Volume", {"General", "volumeEdit"}},    {"LoudnessTarget", {"General", "loudnessEdit"}},
    {"CustomTrackNum", {"ID3", "trackEdit"}},
};

const char* GroupOf(const SettingDescription& setting) {
  return setting.place == SettingPlace::Tags ? SettingsStore::kTagGroup
                                             : SettingsStore::kOptionsGroup;
}

// The stored name: a row's value under the prefix of the row it is tried on.
std::string StoredName(const SettingDescription& setting, const std::string& prefix) {
  return (setting.place == SettingPlace::Row ? prefix : "") + std::string(setting.name);
}

// The values to try: the edges of the range and one past each, or every code
// of a choice and a number that is none.
std::vector<int32_t> TriedValues(const SettingDescription& setting) {
  std::vector<int32_t> values;
  if (setting.kind == SettingKind::Choice) {
    for (const SettingChoice& choice : setting.choices) values.push_back(choice.code);
    values.push_back(values.back() + 1);
    return values;
  }
  values = {setting.low, setting.high, setting.low + (setting.high - setting.low) / 2};
  if (setting.low > std::numeric_limits<int32_t>::min()) values.push_back(setting.low - 1);
  if (setting.high < std::numeric_limits<int32_t>::max()) values.push_back(setting.high + 1);
  return values;
}

// `value` as the command line spells it for `setting`: a number, "on"/"off",
// or a choice's word; empty when no word names it.
std::string Spelled(const SettingDescription& setting, int32_t value) {
  if (setting.kind == SettingKind::Switch)
    return value == 1 ? "on" : value == 0 ? "off" : std::to_string(value);
  if (setting.kind != SettingKind::Choice) return std::to_string(value);
  for (const SettingChoice& choice : setting.choices)
    if (choice.code == value) return std::string(choice.word);
  return "nonesuch";
}

// The option whose value is `setting`'s, or null.
const CliOption* OptionOf(const SettingDescription& setting) {
  for (const CliOption& option : OptionTable())
    if (option.setting == &setting && !option.argument.empty()) return &option;
  return nullptr;
}

// The format an option of `setting` is given with: its row's values are
// tried on MP3, the encoder options of a format on that format.
std::vector<std::string> FormatFor(const SettingDescription& setting) {
  if (setting.name.substr(0, 3) == "AMR") return {"-f", "amr"};
  if (setting.name == "OPUSVBR") return {"-f", "opus"};
  if (setting.name == "WVCompression") return {"-f", "wv"};
  return {"-f", "mp3"};
}

// Every stored number, walked through the settings store (load and save),
// the command line (parse, apply, save, and its help) and the option pages'
// edits (the leave check) with its edges and the values just outside them:
// each takes exactly what the description allows.
TEST_F(OptionsTest, EverySettingTakesTheSameValuesInTheStoreTheCommandLineAndThePages) {
  std::ostringstream usage;
  PrintUsage(usage);
  const ConversionSettings defaults{std::string()};
  const std::string prefix = *SettingsPrefix(*FindFormat(defaults.formats, format_id::kMp3));
  int walked = 0;
  for (const SettingDescription& setting : SettingDescriptions()) {
    SCOPED_TRACE(std::string(setting.name));
    // Every stored option can be given on the command line, but the window's
    // own state (the page shown first, the last folder browsed, its file
    // manager).
    if (!setting.flag.empty()) {
      EXPECT_NE(FindOption("--" + std::string(setting.flag)), nullptr) << setting.flag;
    } else {
      EXPECT_TRUE(setting.name == "OptStartPageIndex" || setting.name == "Folder" ||
                  setting.name == "BrowseOutputFolder");
    }
    // The format and the codec are ids of catalog rows, checked against the
    // catalog rather than a range.
    if (!setting.IsNumeric() || setting.name == "OutputFormat" || setting.name == "CodecID")
      continue;
    ++walked;
    const std::string name = StoredName(setting, prefix);

    // The store's default is the description's.
    {
      MemorySettings saved;
      ConversionSettings loaded{std::string()};
      SettingsStore(saved).load(loaded);
      ASSERT_TRUE(SettingsStore(saved).save(loaded, kSaveOptions | kSaveWindow));
      if (setting.place != SettingPlace::Row)
        EXPECT_EQ(saved.readNumber(GroupOf(setting), name), setting.defaultValue);
    }
    const CliOption* option = OptionOf(setting);
    if (option != nullptr) {
      // --help names the range and the default, or the words.
      const std::string allowed =
          setting.kind == SettingKind::Number
              ? std::to_string(setting.low) + " to " + std::to_string(setting.high)
              : OptionArgument(*option);
      EXPECT_NE(usage.str().find(allowed), std::string::npos) << allowed;
    }

    for (const int32_t value : TriedValues(setting)) {
      SCOPED_TRACE(value);
      const bool allowed = setting.Allows(value);

      // The store loads an allowed value and saves it as it was; any other
      // keeps the field's default.
      MemorySettings file;
      file.writeNumber(GroupOf(setting), name, value);
      ASSERT_TRUE(file.commit());
      ConversionSettings loaded{std::string()};
      SettingsStore(file).load(loaded);
      MemorySettings saved;
      ASSERT_TRUE(SettingsStore(saved).save(loaded, kSaveOptions | kSaveWindow));
      const std::optional<int32_t> stored = saved.readNumber(GroupOf(setting), name);
      ASSERT_TRUE(stored);
      EXPECT_EQ(*stored == value, allowed) << "stored " << *stored;

      // The command line takes an allowed value, stores it with --save, and
      // refuses the others naming the option.
      const std::string spelled = Spelled(setting, value);
      if (option != nullptr && !spelled.empty()) {
        std::vector<std::string> args = FormatFor(setting);
        args.push_back("--" + std::string(option->name));
        args.push_back(spelled);
        std::string error;
        std::optional<ConvertArguments> parsed =
            ParseCommandArguments(args, kConvertCommand, error);
        ASSERT_TRUE(parsed) << error;
        ConversionSettings applied{std::string()};
        const bool taken = ApplyConvertOptions(*parsed, applied, error);
        EXPECT_EQ(taken, allowed) << spelled << ": " << error;
        if (taken) {
          MemorySettings after;
          ASSERT_TRUE(SettingsStore(after).save(applied, kSaveOptions | kSaveWindow));
          EXPECT_EQ(after.readNumber(GroupOf(setting), name), value);
        } else {
          EXPECT_EQ(error.rfind("--" + std::string(option->name), 0), 0u) << error;
        }
      }

      // The page's edit takes what the description allows.
      const auto edit = kPageEdits.find(setting.name);
      if (edit != kPageEdits.end()) {
        settings.enableConvertLength = 0;  // a length of 0 is refused only while it is in use
        Open(edit->second.first);
        Edit(edit->second.second)->setText(QString::number(value));
        prompts.warnings.clear();
        EXPECT_EQ(Ok(), allowed) << edit->second.second;
      }
    }
  }
  EXPECT_GE(walked, 30);
}

}  // namespace
}  // namespace quillo::test
