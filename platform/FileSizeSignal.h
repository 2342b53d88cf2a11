#pragma once

namespace quillo {

// Makes a write past the file size limit (ulimit -f) fail with EFBIG, which
// the program reports as that file's failure ("File too large") and cleans
// up after, instead of being killed by SIGXFSZ with no word and its
// temporary files left behind. Called once at start, before any thread.
void IgnoreFileSizeSignal();

}  // namespace quillo
