#include "engine/media/SourceKind.h"

#include <array>
#include <initializer_list>

#include "base/AsciiCase.h"
#include "engine/media/PathName.h"

namespace quillo {

namespace {

struct KindRow {
  std::initializer_list<std::string_view> extensions;
  SourceKind kind;
};

// Tested in this order; the first match wins.
const std::array<KindRow, 16> kKindTable = {{
    {{".mp3"}, SourceKind::Mp3},
    {{".wav", ".wave"}, SourceKind::Wave},
    {{".amr", ".awb"}, SourceKind::Amr},
    {{".ogg", ".oga", ".ogm", ".ogv", ".ogx"}, SourceKind::Ogg},
    {{".mod", ".xm", ".it", ".s3m", ".mtm", ".umx", ".mo3"}, SourceKind::Module},
    {{".midi", ".mid", ".rmi", ".kar"}, SourceKind::Midi},
    {{".au", ".snd"}, SourceKind::Au},
    {{".aif", ".aiff", ".aifc", ".afc"}, SourceKind::Aiff},
    {{".cda"}, SourceKind::CdAudio},
    {{".dts"}, SourceKind::Dts},
    {{".flac", ".fla"}, SourceKind::Flac},
    {{".wma", ".wmv", ".asf", ".wm", ".wmd", ".xwmv"}, SourceKind::WindowsMedia},
    {{".wv"}, SourceKind::WavPack},
    {{".adx"}, SourceKind::Adx},
    {{".aac"}, SourceKind::Aac},
    {{".mp4", ".m4v", ".m4a", ".m4b"}, SourceKind::Mpeg4},
}};

}  // namespace

SourceKind SourceKindFromPath(std::string_view path) {
  const std::string ext = AsciiLower(ExtensionPart(path));
  if (ext.empty()) return SourceKind::Other;
  for (const KindRow& row : kKindTable)
    for (std::string_view candidate : row.extensions)
      if (candidate == ext) return row.kind;
  return SourceKind::Other;
}

}  // namespace quillo
