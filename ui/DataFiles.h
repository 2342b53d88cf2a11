#pragma once

#include <QString>

namespace quillo {

// The help page's file name.
inline constexpr const char* kHelpPageName = "quillo-help.html";

// A file shipped with the program: looked for in the program's folder, then
// in the installed data folder ("../share/quillo"). Empty when neither has it.
QString ProgramDataFile(const QString& name);

}  // namespace quillo
