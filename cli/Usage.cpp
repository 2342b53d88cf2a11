#include <ostream>

#include "cli/Commands.h"

namespace quillo {

void PrintUsage(std::ostream& out) {
  out << R"(Usage: quillo-cli COMMAND [ARGS]

Quillo converts audio and video files into audio files.

Commands:
  formats              List the output formats: id, name and extension, tab-separated.
  probe PATH...        Show each file's properties as the file list shows them:
                       path, file name, duration, bit rate, sample rate, channels.
                       Files that cannot be read are listed on standard error.
  convert [OPTIONS] PATH...
                       Convert every file into its own output file. A folder is
                       searched with its subfolders, with the extension filter and
                       the hidden-file option of the settings.
  join -o OUTFILE [OPTIONS] PATH...
                       Join all files, in order, into one output file. Without -f the
                       format is the one OUTFILE's extension names. An existing
                       OUTFILE is replaced only with --if-exists overwrite, and only
                       by a join that every file went into.
  help                 Show this text.

Options of convert and join (they override the stored settings for this run):
  -f, --format ID|EXT  output format: a catalog id or an extension ("mp3"); see formats
  -d, --output-dir DIR write the outputs into DIR          --same-folder  beside each source
  --keep-tree          rebuild each source's folders below DIR
  --if-exists rename|overwrite|skip   what to do with an existing output file
  --skip MS            skip the first MS milliseconds of each file
  --length MS          convert only MS milliseconds of each file
  --mono avg|left|right  how two channels become one
  --normalize          bring every output's peak to full scale
  --volume PERCENT     scale the volume (100 = unchanged)
  --keep-volume        leave the volume as it is
  --tags source|custom|none   tags from the source file, from the options below, or none
  --title T --artist T --album T --year T --genre T --comment T --composer T --copyright T
                       custom tags (each implies --tags custom)
  --title-from-name    the file name as the custom title
  --track none|seq|N   no track number, the file's position, or N
  --codec ID|NAME      the format's codec (see the error text for the list)
  --rate HZ  --bitrate BPS  --channels 1|2   encoding parameters (manual choice);
                       for WMA, WMV and ASF one of the Windows Media formats, its
                       bit rate in whole kbps (a choice not in the list lists them)
  --auto               let the program choose the encoding parameters
  --band nb|wb         AMR: narrow band (8000 Hz) or wide band (16000 Hz)
  --mode KBPS          AMR and AWB: the bit rate of the band's speech mode,
                       narrow band 4.75 5.15 5.9 6.7 7.4 7.95 10.2 12.2, wide band
                       6.60 8.85 12.65 14.25 15.85 18.25 19.85 23.05 23.85
  --dtx on|off         AMR and AWB: discontinuous transmission (pauses take
                       almost no room)
  -j, --jobs N         convert: N files at once (default: one per processor);
                       names, outputs and lines are those of -j 1
  --config FILE        read (and with --save write) the settings in FILE
  --save               store these options as the new settings

Output: one line per file: source path, the "Volume" cell and the "Output" cell
(the output file's name, its whole path when it had to go elsewhere, or the
failure), tab-separated; control characters are escaped (\n, \t, \\, \xNN).
Each output is written beside its target as ".NAME.quillo-part-XXXXXX.EXT" and
takes its name only when complete. Ctrl+C, SIGTERM and SIGHUP cancel.

Exit status: 0 when every file succeeded, 1 when any failed, 2 for a usage error.
)";
}

}  // namespace quillo
