#include <QComboBox>

#include "catalog/Catalog.h"
#include "engine/WindowsMediaSupport.h"
#include "tests/ui/OptionsTestSupport.h"

namespace quillo {
namespace {

using test::OptionsTest;

const char* const kAutoRate = "Auto (the program will choose the best sample rate)";
const char* const kAutoBitRate = "Auto (the program will choose the best bit rate)";
const char* const kAutoChannels = "Auto (the program will choose the best channels)";
const char* const kAuto = "A&uto (the program will choose the best options)";

class EncodingPages : public OptionsTest {
 public:
  QStringList Entries(const char* list) { return Texts(Named<QComboBox>(list)); }
  // The selected rate, bit rate and channels, each marked when its list is
  // disabled.
  QStringList Selections() {
    QStringList selected;
    for (const char* name : {"rateList", "bitRateList", "channelList"}) {
      auto* list = Named<QComboBox>(name);
      selected << list->currentText() + (list->isEnabled() ? "" : " (off)");
    }
    return selected;
  }
  OutputFormat& Row(int32_t formatId) { return *FindFormat(settings.formats, formatId); }
};

TEST_F(EncodingPages, AudioPageListsFollowTheChosenCodec) {
  // Stored values the lists lack select their first entries; a codec the row
  // lacks selects the first codec.
  Row(format_id::kWav).autoEncParam = 0;
  Row(format_id::kWav).codecId = 0x1100B;  // G.726
  Row(format_id::kWav).bitRate = 4;
  Row(format_id::kWav).channels = 2;
  Row(format_id::kM4a).codecId = 0x15099;
  Row(format_id::kM4a).sampleRate = 12345;

  Open("MP3");
  EXPECT_EQ(Entries("codecList"), QStringList{"LAME MP3 (MPEG audio layer 3)"});
  EXPECT_EQ(Entries("rateList").mid(7), (QStringList{"44100 Hz", "48000 Hz", kAutoRate}));
  EXPECT_EQ(Entries("bitRateList").mid(16), (QStringList{"256 kbps", "320 kbps", kAutoBitRate}));
  EXPECT_EQ(Entries("channelList"), (QStringList{"Stereo", "Mono", kAutoChannels}));
  EXPECT_EQ(Selections(), (QStringList{"44100 Hz (off)", "128 kbps (off)", "Stereo (off)"}));
  Button(kAuto)->click();
  EXPECT_EQ(Selections(), (QStringList{"44100 Hz", "128 kbps", "Stereo"}));

  // AMR-NB in 3GP: one rate and no "Auto" for it, kbit/s with decimals.
  ASSERT_TRUE(sheet->ShowPage(PageIndex("3GP")));
  EXPECT_EQ(Entries("rateList"), QStringList{"8000 Hz"});
  EXPECT_EQ(Entries("bitRateList"),
            (QStringList{"4.75 kbps", "5.15 kbps", "5.90 kbps", "6.70 kbps", "7.40 kbps",
                         "7.95 kbps", "10.20 kbps", "12.20 kbps", kAutoBitRate}));
  EXPECT_EQ(Selections(), (QStringList{"8000 Hz", "10.20 kbps", "Mono"}));
  // Looking at another codec and coming back shows the stored values again.
  QComboBox* codecs = Named<QComboBox>("codecList");
  const QString amr = codecs->currentText();
  ASSERT_GT(codecs->count(), 1);
  codecs->setCurrentIndex(codecs->currentIndex() == 0 ? 1 : 0);
  Choose("codecList", amr);
  EXPECT_EQ(Selections(), (QStringList{"8000 Hz", "10.20 kbps", "Mono"}));

  ASSERT_TRUE(sheet->ShowPage(PageIndex("M4A")));
  EXPECT_EQ(Named<QComboBox>("codecList")->currentText(), "AAC (Advanced Audio Codec)");
  EXPECT_EQ(Selections().front(), "8000 Hz (off)");

  // A codec change refills the lists from the page's stored values: G.726
  // counts bits per code word; PCM has no bit rate at all, even chosen by
  // hand. A rate chosen for the previous codec is not carried over.
  ASSERT_TRUE(sheet->ShowPage(PageIndex("WAV")));
  EXPECT_EQ(Entries("bitRateList"),
            (QStringList{"2 bit", "3 bit", "4 bit", "5 bit", kAutoBitRate}));
  EXPECT_EQ(Selections(), (QStringList{"44100 Hz", "4 bit", "Mono"}));
  Choose("rateList", "96000 Hz");
  Choose("codecList", "PCM 24-bit");
  EXPECT_EQ(Entries("bitRateList"), QStringList());
  EXPECT_EQ(Entries("channelList"), (QStringList{"Stereo", "Mono", kAutoChannels}));
  EXPECT_EQ(Selections(), (QStringList{"44100 Hz", " (off)", "Stereo"}));
  Choose("rateList", "96000 Hz");

  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  const OutputFormat& wav = Row(format_id::kWav);
  EXPECT_EQ(std::tuple(wav.autoEncParam, wav.codecId, wav.sampleRate, wav.bitRate, wav.channels),
            std::tuple(0, 0x1000C, 96000, 0, 2));
  EXPECT_EQ(Row(format_id::kMp3).autoEncParam, 0);
  EXPECT_EQ(Row(format_id::k3gp).bitRate, 10200);
  EXPECT_EQ(std::pair(Row(format_id::kM4a).codecId, Row(format_id::kM4a).sampleRate),
            std::pair(0x15002, 8000));
}

// Opus and WavPack add their own encoder option below the common lists; OK
// stores it, and the other pages leave it as they found it.
TEST_F(EncodingPages, OpusAndWavPackPagesStoreTheirEncoderOption) {
  Open("OPUS");
  EXPECT_EQ(Entries("rateList"), QStringList{"48000 Hz"});
  EXPECT_EQ(Selections(), (QStringList{"48000 Hz", "128 kbps", kAutoChannels}));
  QAbstractButton* vbr = Button("&Variable bit rate (VBR)");
  ASSERT_TRUE(vbr->isChecked());
  vbr->click();

  ASSERT_TRUE(sheet->ShowPage(PageIndex("WavPack")));
  EXPECT_EQ(Entries("compressionList"), (QStringList{"Fast", "Normal", "High", "Very high"}));
  EXPECT_EQ(Named<QComboBox>("compressionList")->currentText(), "Normal");
  EXPECT_EQ(Entries("bitRateList"), QStringList());
  Choose("compressionList", "Very high");
  // Shown after the two: a page whose copy still holds the old values.
  ASSERT_TRUE(sheet->ShowPage(PageIndex("FLAC")));

  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  EXPECT_EQ(std::pair(settings.opusVbr, settings.wavPackCompression), std::pair(0, 3));
}

TEST_F(EncodingPages, AmrAndAwbPagesShowRatesAndStoreModes) {
  settings.amrMode = 9;  // no such mode: 7.4 kbps, the fifth
  settings.amrWbMode = 8;
  settings.awbMode = -1;
  Open("AMR");
  auto* narrow = Named<QComboBox>("narrowList");
  auto* wide = Named<QComboBox>("wideList");
  EXPECT_EQ(Texts(narrow), (QStringList{"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps",
                                        "7.4 kbps", "7.95 kbps", "10.2 kbps", "12.2 kbps"}));
  EXPECT_EQ(Texts(wide),
            (QStringList{"6.60 kbps", "8.85 kbps", "12.65 kbps", "14.25 kbps", "15.85 kbps",
                         "18.25 kbps", "19.85 kbps", "23.05 kbps", "23.85 kbps"}));
  EXPECT_EQ(narrow->currentText(), "7.4 kbps");
  EXPECT_EQ(wide->currentText(), "23.85 kbps");
  EXPECT_TRUE(narrow->isEnabled());
  EXPECT_FALSE(wide->isEnabled());
  Button("&WB (Wide Band, 16000 Hz)")->click();
  EXPECT_FALSE(narrow->isEnabled());
  EXPECT_TRUE(wide->isEnabled());
  Choose("narrowList", "12.2 kbps");  // kept although the other band is chosen
  Choose("wideList", "6.60 kbps");
  Button("&Enable DTX (Discontinuous Transmission)")->click();

  ASSERT_TRUE(sheet->ShowPage(PageIndex("AWB")));
  EXPECT_EQ(Named<QComboBox>("modeList")->currentText(), "15.85 kbps");
  Choose("modeList", "23.05 kbps");
  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  EXPECT_EQ(std::tuple(settings.amrType, settings.amrMode, settings.amrWbMode, settings.amrDtx),
            std::tuple(AmrBand::Wide, 7, 0, 1));
  EXPECT_EQ(std::tuple(settings.awbMode, settings.awbDtx), std::tuple(7, 0));
}

TEST_F(EncodingPages, WmaPageOffersTheWritersFormats) {
  ASSERT_NE(windowsMedia, nullptr);
  ASSERT_TRUE(windowsMedia->Load());
  std::vector<WindowsMediaFormat> offered;
  for (const WindowsMediaFormat& format : windowsMedia->Formats())
    if (format.bitRate >= 1000) offered.push_back(format);
  ASSERT_GT(offered.size(), 2u);
  const WindowsMediaFormat wanted = offered[offered.size() / 2];
  const QString wantedText = QStringLiteral("%1 Hz, %2 kbps, %3")
                                 .arg(wanted.sampleRate)
                                 .arg(wanted.bitRate / 1000)
                                 .arg(wanted.channels == 1 ? "Mono" : "Stereo");

  // A stored choice that no entry matches: nothing selected, and OK gives
  // the automatic choice.
  settings.wmaAutoEncParam = 0;
  settings.wmaSampleRate = 12345;
  Open("WMA/WMV/ASF");
  auto* list = Named<QComboBox>("formatList");
  EXPECT_EQ(list->count(), static_cast<int>(offered.size()) + 1);
  EXPECT_EQ(list->itemText(0), "Auto (the program will choose the best options)");
  EXPECT_EQ(list->currentIndex(), -1);
  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  EXPECT_EQ(settings.wmaAutoEncParam, 1);

  // An entry chosen gives its exact bit rate; stored, it shows selected.
  Open("WMA/WMV/ASF");
  EXPECT_EQ(Named<QComboBox>("formatList")->currentIndex(), 0);
  Choose("formatList", wantedText);
  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  EXPECT_EQ(std::tuple(settings.wmaAutoEncParam, settings.wmaSampleRate, settings.wmaBitRate,
                       settings.wmaChannels),
            std::tuple(0, wanted.sampleRate, wanted.bitRate, wanted.channels));
  Open("WMA/WMV/ASF");
  EXPECT_EQ(Named<QComboBox>("formatList")->currentText(), wantedText);

  // Without Windows Media support: the offer to download it, and "Auto" alone.
  windowsMedia = nullptr;
  Open("WMA/WMV/ASF");
  EXPECT_EQ(prompts.questions, std::vector<std::string>{kWindowsMediaQuestion});
  EXPECT_EQ(Named<QComboBox>("formatList")->count(), 1);
}

}  // namespace
}  // namespace quillo
