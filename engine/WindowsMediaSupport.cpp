#include "engine/WindowsMediaSupport.h"

#include "engine/UserPrompts.h"

namespace quillo {

const char* const kWindowsMediaQuestion =
    "Dear user, WMA file requires Windows Media Format 9 Series Runtime.\nUnfortunately, the "
    "component isn't available on your computer.\n\nDo you want to download and install it now?";
// The page a yes to the question opens.
const char* const kWindowsMediaDownloadLocation = "https://quillo.app/help/windows-media";

bool EnsureWindowsMediaRuntime(WindowsMediaRuntime* runtime, UserPrompts* prompts) {
  if (runtime != nullptr && (runtime->IsLoaded() || runtime->Load())) return true;
  if (prompts != nullptr && prompts->AskYesNo(kWindowsMediaQuestion))
    prompts->OpenLocation(kWindowsMediaDownloadLocation);
  return false;
}

std::vector<WindowsMediaFormat> ListedWindowsMediaFormats(const WindowsMediaRuntime& runtime) {
  std::vector<WindowsMediaFormat> listed;
  for (const WindowsMediaFormat& format : runtime.Formats())
    if (format.bitRate >= 1000) listed.push_back(format);
  return listed;
}

int FindListedFormat(const std::vector<WindowsMediaFormat>& listed, int rate, int bitRate,
                     int channels) {
  for (size_t i = 0; i < listed.size(); ++i) {
    const WindowsMediaFormat& format = listed[i];
    if (format.sampleRate == rate && format.bitRate / 1000 == bitRate / 1000 &&
        format.channels == channels)
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace quillo
