#pragma once

#include <QStringList>

namespace quillo {

// The filters of the Add Files dialog, "All Files" first, each as
// "Name (*.a *.b)". Matching is case-insensitive: "*.mp3" shows "SONG.MP3".
QStringList OpenFileFilters();

}  // namespace quillo
