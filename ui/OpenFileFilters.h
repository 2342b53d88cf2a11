#pragma once

#include <QStringList>

namespace quillo {

// The filters of the Add Files dialog, "All Files" first, each as
// "Name (*.[aA] *.[bB])": every letter of a pattern matches either case, so
// that "MP3 Files" shows "SONG.MP3" in the desktop's dialog as in Qt's.
QStringList OpenFileFilters();

// `pattern` with each letter as a set of both its cases: "*.mp3" gives
// "*.[mM][pP]3".
QString AnyCasePattern(const QString& pattern);

}  // namespace quillo
