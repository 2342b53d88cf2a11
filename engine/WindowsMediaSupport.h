#pragma once

#include <vector>

#include "engine/media/WindowsMediaRuntime.h"

namespace quillo {

class UserPrompts;

// The question asked when Windows Media support cannot be loaded.
extern const char* const kWindowsMediaQuestion;

// Loads the Windows Media support when it is not loaded yet. When it cannot
// be loaded (or `runtime` is null: a build without it), offers the download
// page through `prompts` and returns false; a null `prompts` asks nothing.
bool EnsureWindowsMediaRuntime(WindowsMediaRuntime* runtime, UserPrompts* prompts);

// The writer's formats as the WMA page lists them: those below 1 kbit/s are
// left out, as they would all read "0 kbps".
std::vector<WindowsMediaFormat> ListedWindowsMediaFormats(const WindowsMediaRuntime& runtime);

// The index in `listed` of the first format a stored choice names: the same
// rate and channel count, and the same bit rate in whole kbit/s (the unit the
// list shows); -1 when none matches.
int FindListedFormat(const std::vector<WindowsMediaFormat>& listed, int rate, int bitRate,
                     int channels);

}  // namespace quillo
