#pragma once

#include <cstdint>
#include <vector>

#include "engine/media/WindowsMediaFormat.h"
#include "ui/OptionsPage.h"

class QComboBox;

namespace quillo {

class UserPrompts;
class WindowsMediaRuntime;

// The WMA page: the program's own choice, or one of the Windows Media
// writer's formats (rate, bit rate, channels), for the WMA, WMV and ASF rows.
class CPageWMAOptions final : public OptionsPage {
 public:
  // `runtime` may be null: a build without Windows Media support.
  CPageWMAOptions(const ConversionSettings& settings, WindowsMediaRuntime* runtime,
                  UserPrompts& prompts);

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  WindowsMediaRuntime* runtime_;
  UserPrompts& prompts_;
  std::vector<WindowsMediaFormat> formats_;  // the list's entries after "Auto"
  // The page's copies.
  int32_t autoEncParam_;
  int32_t sampleRate_;
  int32_t bitRate_;
  int32_t channels_;

  QComboBox* formatList_ = nullptr;
};

}  // namespace quillo
