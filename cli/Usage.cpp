#include <ostream>

#include "cli/Commands.h"

namespace quillo {

void PrintUsage(std::ostream& out) {
  out << "Usage: quillo-cli COMMAND [ARGS]\n"
         "\n"
         "Quillo converts audio and video files into audio files.\n"
         "\n"
         "Commands:\n"
         "  formats          List the output formats: id, name and extension, tab-separated.\n"
         "  probe PATH...    Show each file's properties as the file list shows them:\n"
         "                   path, file name, duration, bit rate, sample rate, channels.\n"
         "                   Files that cannot be read are listed on standard error.\n"
         "  help             Show this text.\n"
         "\n"
         "Exit status: 0 when every file succeeded, 1 when any failed, 2 for a usage error.\n";
}

}  // namespace quillo
