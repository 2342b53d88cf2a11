#pragma once

#include <vector>

#include "engine/media/WindowsMediaFormat.h"
#include "ui/OptionsPage.h"

namespace quillo {

class WindowsMediaRuntime;

// The WMA page: the program's own choice, or one of the Windows Media
// writer's formats (rate, bit rate, channels), for the WMA, WMV and ASF rows.
class CPageWMAOptions final : public OptionsPage {
 public:
  // `runtime` may be null: a build without Windows Media support.
  CPageWMAOptions(const ConversionSettings& settings, WindowsMediaRuntime* runtime,
                  UserPrompts& prompts)
      : OptionsPage(QStringLiteral("WMA/WMV/ASF"), settings),
        runtime_(runtime),
        prompts_(prompts) {}

  bool Leave() override;
  void Apply(ConversionSettings& settings) const override;

 protected:
  void Build() override;

 private:
  WindowsMediaRuntime* runtime_;
  UserPrompts& prompts_;
  std::vector<WindowsMediaFormat> formats_;  // the list's entries after "Auto"

  QComboBox* formatList_ = nullptr;
};

}  // namespace quillo
