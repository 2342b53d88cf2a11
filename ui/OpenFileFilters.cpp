#include "ui/OpenFileFilters.h"

#include "ui/Translate.h"

namespace quillo {

namespace {

// Name and patterns of each filter, patterns separated by ";".
struct Filter {
  const char* name;
  const char* patterns;
};

// On Linux a name needs no dot to be a file: "All Files" is "*".
constexpr Filter kFilters[] = {
    {"All Files", "*"},
    {"3GPP Files", "*.3gp;*.3gpp"},
    {"3GPP2 Files", "*.3g2;*.3gp2"},
    {"Adobe Flash Files", "*.swf"},
    {"Advanced Audio Coding", "*.aac"},
    {"AIFF Files", "*.aiff;*.aif;*.aifc;*.afc"},
    {"AMR Files", "*.amr;*.awb"},
    {"AU Files", "*.au;*.snd"},
    {"AVI Files", "*.avi"},
    {"CD Audio", "*.cda"},
    {"Cue Sheets", "*.cue"},
    {"Creative Voice Files", "*.voc"},
    {"CRI ADX Files", "*.adx"},
    {"Dolby Digital AC-3", "*.ac3"},
    {"DTS Files", "*.dts"},
    {"DV Video Files", "*.dv;*.dif"},
    {"DVD Video Files", "*.vob;*.dvd"},
    {"Electronic Arts CDATA Files", "*.cdata"},
    {"Flash Video Files", "*.flv"},
    {"Free Lossless Audio Codec", "*.flac;*.fla"},
    {"H.264/MPEG4 AVC Video", "*.m2ts;*.mts"},
    {"Matroska Files", "*.mkv;*.mka"},
    {"Microsoft Digital Video Recording", "*.dvr-ms"},
    {"MIDI Files", "*.midi;*.mid;*.rmi;*.kar"},
    {"MJPEG Video Files", "*.mjpg;*.mjpeg"},
    {"MMF Files", "*.mmf"},
    {"MOD Musics", "*.mod;*.xm;*.it;*.s3m;*.mtm;*.umx;*.mo3"},
    {"Monkey's Audio", "*.ape;*.mac"},
    {"MP3 Files", "*.mp3"},
    {"MPEG Audio Files", "*.mpa;*.mpga;*.m2a"},
    {"MPEG Video Files", "*.mpg;*.mpe;*.mpeg;*.m1v;*.mp2;*.m2v;*.mp1;*.mlv"},
    {"MPEG-4 Audio Files", "*.m4a;*.m4b;*.mp4"},
    {"MPEG4 TS HD Video", "*.ts"},
    {"MPEG-4 Video Files", "*.mp4;*.m4v;*.mpv;*.psp"},
    {"Musepack", "*.mpc;*.mp+;*.mpp"},
    {"Nullsoft Audio/Video Files", "*.nsv;*.nsa"},
    {"NUT Files", "*.nut"},
    {"OGG Files", "*.ogg;*.oga;*.ogm;*.ogv;*.ogx"},
    {"QuickTime Files", "*.mov;*.qt"},
    {"Raw h261 Files", "*.h261"},
    {"Raw h263 Files", "*.h263"},
    {"Raw h264 Video Files", "*.h264;*.264"},
    {"Real Audio Files", "*.ra;*.ram"},
    {"Real Media Files", "*.rm;*.rmvb"},
    {"Speex", "*.spx"},
    {"The True Audio", "*.tta"},
    {"VCD Video Files", "*.dat"},
    {"WAV Files", "*.wav;*.wave"},
    {"WavPack", "*.wv"},
    {"Windows Media Files", "*.wma;*.asf;*.wmv;*.wm;*.wmd;*.xwmv"},
    {"YUV Video Files", "*.yuv"},
};

}  // namespace

QString AnyCasePattern(const QString& pattern) {
  QString result;
  for (const QChar c : pattern) {
    if (c.isLetter() && c.toLower() != c.toUpper())
      result += QStringLiteral("[%1%2]").arg(c.toLower(), c.toUpper());
    else
      result += c;
  }
  return result;
}

QStringList OpenFileFilters() {
  QStringList filters;
  for (const Filter& filter : kFilters) {
    // The dialog separates patterns with blanks. The desktop's dialogs match
    // patterns letter case and all, so each letter names both of its cases.
    QStringList patterns;
    for (const QString& pattern : QString::fromLatin1(filter.patterns).split(u';'))
      patterns.push_back(AnyCasePattern(pattern));
    filters.push_back(QStringLiteral("%1 (%2)").arg(Tr(filter.name), patterns.join(u' ')));
  }
  return filters;
}

}  // namespace quillo
