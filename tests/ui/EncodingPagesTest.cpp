#include <QComboBox>

#include "catalog/Catalog.h"
#include "engine/SourceFactory.h"
#include "tests/ui/OptionsTestSupport.h"

namespace quillo {
namespace {

using test::OptionsTest;

const char* const kAutoRate = "Auto (the program will choose the best sample rate)";
const char* const kAutoBitRate = "Auto (the program will choose the best bit rate)";
const char* const kAutoChannels = "Auto (the program will choose the best channels)";
const char* const kAuto = "A&uto (the program will choose the best options)";

// What an Audio Options page shows: the selected entry first, then every
// entry; the three lists' enabling.
struct Lists {
  QStringList rates, bitRates, channels;
  QString rate, bitRate, channel;
  bool ratesOn, bitRatesOn, channelsOn;
};

class EncodingPages : public OptionsTest {
 protected:
  Lists Shown() {
    auto* rates = Named<QComboBox>("rateList");
    auto* bitRates = Named<QComboBox>("bitRateList");
    auto* channels = Named<QComboBox>("channelList");
    return {Texts(rates),          Texts(bitRates),         Texts(channels),
            rates->currentText(),  bitRates->currentText(), channels->currentText(),
            rates->isEnabled(),    bitRates->isEnabled(),   channels->isEnabled()};
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
  EXPECT_EQ(Texts(Named<QComboBox>("codecList")), QStringList{"LAME MP3 (MPEG audio layer 3)"});
  Lists mp3 = Shown();
  EXPECT_EQ(mp3.rates.size(), 10);
  EXPECT_EQ(mp3.rates.front(), "8000 Hz");
  EXPECT_EQ(mp3.rates.back(), kAutoRate);
  EXPECT_EQ(mp3.rate, "44100 Hz");
  EXPECT_EQ(mp3.bitRate, "128 kbps");
  EXPECT_EQ(mp3.bitRates.back(), kAutoBitRate);
  EXPECT_EQ(mp3.channels, (QStringList{"Stereo", "Mono", kAutoChannels}));
  EXPECT_FALSE(mp3.ratesOn || mp3.bitRatesOn || mp3.channelsOn);  // automatic
  Button(kAuto)->click();
  mp3 = Shown();
  EXPECT_TRUE(mp3.ratesOn && mp3.bitRatesOn && mp3.channelsOn);

  // AMR-NB in 3GP: one rate and no "Auto" for it, rates as kbit/s with
  // decimals, mono only.
  ASSERT_TRUE(sheet->ShowPage(PageIndex("3GP")));
  const Lists amr = Shown();
  EXPECT_EQ(amr.rates, QStringList{"8000 Hz"});
  EXPECT_EQ(amr.bitRates,
            (QStringList{"4.75 kbps", "5.15 kbps", "5.90 kbps", "6.70 kbps", "7.40 kbps",
                         "7.95 kbps", "10.20 kbps", "12.20 kbps", kAutoBitRate}));
  EXPECT_EQ(amr.bitRate, "10.20 kbps");
  EXPECT_EQ(amr.channels, QStringList{"Mono"});
  EXPECT_TRUE(amr.ratesOn && amr.bitRatesOn && amr.channelsOn);

  ASSERT_TRUE(sheet->ShowPage(PageIndex("M4A")));
  EXPECT_EQ(Named<QComboBox>("codecList")->currentText(), "AAC (Advanced Audio Codec)");
  EXPECT_EQ(Shown().rate, "8000 Hz");

  // A codec change refills the lists: G.726 counts bits per code word;
  // PCM has no bit rate at all, even chosen by hand.
  ASSERT_TRUE(sheet->ShowPage(PageIndex("WAV")));
  Lists wav = Shown();
  EXPECT_EQ(wav.bitRates, (QStringList{"2 bit", "3 bit", "4 bit", "5 bit", kAutoBitRate}));
  EXPECT_EQ(wav.bitRate, "4 bit");
  EXPECT_EQ(wav.channels, QStringList{"Mono"});
  Choose("rateList", "96000 Hz");
  Choose("codecList", "PCM 24-bit");
  wav = Shown();
  EXPECT_TRUE(wav.bitRates.isEmpty());
  EXPECT_FALSE(wav.bitRatesOn);
  EXPECT_TRUE(wav.ratesOn);
  EXPECT_EQ(wav.rate, "96000 Hz");  // the rate chosen so far stays
  EXPECT_EQ(wav.channels, (QStringList{"Stereo", "Mono", kAutoChannels}));
  Choose("channelList", "Mono");

  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  const OutputFormat& saved = Row(format_id::kWav);
  EXPECT_EQ(std::tuple(saved.autoEncParam, saved.codecId, saved.sampleRate, saved.bitRate,
                       saved.channels),
            std::tuple(0, 0x1000C, 96000, 0, 1));
  EXPECT_EQ(Row(format_id::kMp3).autoEncParam, 0);
  EXPECT_EQ(Row(format_id::kM4a).codecId, 0x15002);
  EXPECT_EQ(Row(format_id::kM4a).sampleRate, 8000);
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
