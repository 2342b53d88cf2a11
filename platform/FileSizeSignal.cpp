#include "platform/FileSizeSignal.h"

#include <csignal>

namespace quillo {

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace quillo
