#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "catalog/Catalog.h"

namespace quillo {
namespace {

// The entries of a marker-ended list as a vector, for comparisons.
std::vector<int32_t> Values(const int32_t* list) {
  const auto values = ListValues(list);
  return {values.begin(), values.end()};
}

std::vector<int32_t> Ids(const std::vector<OutputFormat>& rows) {
  std::vector<int32_t> ids;
  for (const OutputFormat& row : rows) ids.push_back(row.formatId);
  return ids;
}

TEST(CatalogTest, RowsComeInCatalogOrder) {
  const std::vector<int32_t> expected = {8300, 8350, 6000, 6100, 3400, 5100, 6200, 5500,
                                         7300, 5000, 8000, 5600, 3200, 3650, 6500, 6700,
                                         6800, 1400, 1500, 8100, 1100, 1000, 6600, 1200,
                                         4000, 4100, 8200, 8400, 2000, 7100, 7200, 3300};
  EXPECT_EQ(Ids(BuildCatalog()), expected);
}

TEST(CatalogTest, SettingsPrefixesFollowCatalogOrderAndStayUnique) {
  const std::vector<std::string> expected = {
      "3G2",  "3GP", "AAC", "AACDEVICE", "AC3",  "AIFF", "ALAC", "AU",  "AVI",
      "FLAC", "FLV", "M4A", "M4B",       "M4R",  "MKA",  "MMF",  "MOV", "MP2",
      "MP3",  "MP4", "MPA", "OGG",       "OPUS", "SWF",  "VOC",  "WAV", "WV"};
  std::vector<std::string> prefixes;
  std::vector<int32_t> without;
  for (const OutputFormat& row : BuildCatalog()) {
    if (auto prefix = SettingsPrefix(row)) {
      prefixes.push_back(*prefix);
    } else {
      without.push_back(row.formatId);
    }
  }
  EXPECT_EQ(prefixes, expected);
  EXPECT_EQ(std::set<std::string>(prefixes.begin(), prefixes.end()).size(), prefixes.size());
  EXPECT_EQ(without, (std::vector<int32_t>{5500, 7300, 5600, 7100, 7200}));
}

TEST(CatalogTest, ThreeM4aRowsKeepTheirSettingsApart) {
  const auto rows = BuildCatalog();
  std::vector<std::string> prefixes;
  for (const OutputFormat& row : rows) {
    if (row.extension == "m4a") prefixes.push_back(SettingsPrefix(row).value_or("?"));
  }
  EXPECT_EQ(prefixes, (std::vector<std::string>{"AACDEVICE", "ALAC", "M4A"}));
}

TEST(CatalogTest, ListTextsAndPageTitles) {
  const auto rows = BuildCatalog();
  EXPECT_EQ(FormatListText(*FindFormat(rows, 1000)), " to MP3");
  EXPECT_EQ(FormatListText(*FindFormat(rows, 6500)), " to M4A (MPEG-4 audio)");
  EXPECT_EQ(FormatListText(*FindFormat(rows, 5500)), " to AMR");
  EXPECT_EQ(FormatListText(*FindFormat(rows, 7300)), " to ASF (audio only)");
  EXPECT_EQ(FormatListText(*FindFormat(rows, 6100)),
            " to AAC for iPod / iPhone / iPad / iTunes / DSi (*.m4a)");

  EXPECT_EQ(PageTitle(*FindFormat(rows, 6100)), "AAC for iPod/DSi");
  EXPECT_EQ(PageTitle(*FindFormat(rows, 6200)), "ALAC");
  EXPECT_EQ(PageTitle(*FindFormat(rows, 2000)), "WAV");
  EXPECT_EQ(PageTitle(*FindFormat(rows, 8300)), "3G2");
  for (int32_t id : {5500, 5600, 7100, 7200, 7300}) {
    EXPECT_FALSE(PageTitle(*FindFormat(rows, id)).has_value()) << id;
  }
}

TEST(CatalogTest, FindFormatReturnsTheRowOrNothing) {
  auto rows = BuildCatalog();
  OutputFormat* mp3 = FindFormat(rows, 1000);
  ASSERT_NE(mp3, nullptr);
  EXPECT_EQ(mp3->extension, "mp3");
  EXPECT_EQ(mp3->containerName, "mp3");
  mp3->bitRate = 192000;  // the settings fields are the row's own
  EXPECT_EQ(FindFormat(rows, 1000)->bitRate, 192000);
  EXPECT_EQ(FindFormat(rows, 0), nullptr);
  EXPECT_EQ(FindFormat(rows, 9999), nullptr);
}

TEST(CatalogTest, BackEndsAndTagColumns) {
  const auto rows = BuildCatalog();
  for (const OutputFormat& row : rows) {
    const int32_t id = row.formatId;
    if (id == 5500 || id == 5600) {
      EXPECT_EQ(row.backend, FormatBackend::Amr) << id;
    } else if (id == 7100 || id == 7200 || id == 7300) {
      EXPECT_EQ(row.backend, FormatBackend::WindowsMedia) << id;
    } else {
      EXPECT_EQ(row.backend, FormatBackend::Framework) << id;
      EXPECT_FALSE(row.containerName.empty()) << id;
    }
  }
  const std::set<int32_t> untagged = {5100, 5500, 5000, 5600, 3650, 1500, 8200, 8400, 2000};
  for (const OutputFormat& row : rows) {
    EXPECT_EQ(row.carriesTags, untagged.count(row.formatId) == 0) << row.formatId;
  }
}

// Opus starts manual too: its fixed 128 kbit/s beats the automatic choice.
TEST(CatalogTest, OnlyFourFrameworkRowsStartWithManualParameters) {
  std::vector<int32_t> manual;
  for (const OutputFormat& row : BuildCatalog()) {
    if (row.backend == FormatBackend::Framework && row.autoEncParam == 0) {
      manual.push_back(row.formatId);
    }
  }
  EXPECT_EQ(manual, (std::vector<int32_t>{8300, 8350, 4100, 8400}));
}

TEST(CatalogTest, EveryFrameworkRowDefaultsToACodecOfItsOwnList) {
  for (const OutputFormat& row : BuildCatalog()) {
    if (row.backend != FormatBackend::Framework) {
      EXPECT_TRUE(row.codecChoices.empty()) << row.formatId;
      EXPECT_EQ(FindCodecChoice(row, row.codecId), nullptr) << row.formatId;
      continue;
    }
    const CodecChoice* choice = FindCodecChoice(row, row.codecId);
    ASSERT_NE(choice, nullptr) << row.formatId;
    EXPECT_EQ(choice->codecId, row.codecId);
    // A stale codec id from the settings finds nothing.
    EXPECT_EQ(FindCodecChoice(row, 0x7FFFFFFF), nullptr);
  }
}

TEST(CatalogTest, FindCodecChoiceTakesTheFirstMatch) {
  const auto rows = BuildCatalog();
  const OutputFormat& flv = *FindFormat(rows, 3650);
  ASSERT_EQ(flv.codecChoices.size(), 3u);
  // FLV's MP3 is the Flash-rate variant; its AAC is 44100 Hz stereo only.
  EXPECT_EQ(Values(FindCodecChoice(flv, codec_id::kMp3)->sampleRates),
            (std::vector<int32_t>{11025, 22050, 44100}));
  const CodecChoice* aac = FindCodecChoice(flv, codec_id::kAac);
  EXPECT_EQ(aac->channelMask, kStereoAllowed);
  EXPECT_EQ(ListValues(aac->sampleRates).size(), 1u);

  const OutputFormat& wav = *FindFormat(rows, 2000);
  EXPECT_EQ(wav.codecChoices.size(), 14u);
  EXPECT_EQ(wav.codecChoices.front()->codecId, codec_id::kPcmU8);
  EXPECT_EQ(wav.codecChoices.back()->codecId, codec_id::kMp3);
  EXPECT_EQ(FindFormat(rows, 5100)->codecChoices.size(), 10u);
  EXPECT_EQ(FindFormat(rows, 5000)->codecChoices.size(), 8u);
  EXPECT_EQ(FindFormat(rows, 8000)->codecChoices.size(), 6u);
}

TEST(CatalogTest, EveryValueListIsAscendingAndEndsWithTheMarker) {
  for (const OutputFormat& row : BuildCatalog()) {
    for (const CodecChoice* choice : row.codecChoices) {
      for (const int32_t* list : {choice->sampleRates, choice->bitRates}) {
        if (list == nullptr) continue;
        const auto values = ListValues(list);
        ASSERT_FALSE(values.empty()) << choice->displayName;
        EXPECT_EQ(list[values.size()], kEndOfList);
        for (std::size_t i = 1; i < values.size(); ++i) {
          EXPECT_LT(values[i - 1], values[i]) << choice->displayName;
        }
      }
      ASSERT_NE(choice->sampleRates, nullptr) << choice->displayName;
      EXPECT_TRUE(choice->channelMask >= 1 && choice->channelMask <= 3);
    }
  }
}

TEST(CatalogTest, ChannelMasksAndBitRateLists) {
  const auto rows = BuildCatalog();
  const OutputFormat& wav = *FindFormat(rows, 2000);
  const CodecChoice* g726 = FindCodecChoice(wav, codec_id::kAdpcmG726);
  ASSERT_NE(g726, nullptr);
  EXPECT_EQ(g726->channelMask, kMonoAllowed);
  EXPECT_EQ(Values(g726->bitRates), (std::vector<int32_t>{2, 3, 4, 5}));
  EXPECT_EQ(NearestSupported(g726->bitRates, 128000), 5);
  EXPECT_EQ(FindCodecChoice(wav, codec_id::kGsmMs)->channelMask, kMonoAllowed);
  EXPECT_EQ(FindCodecChoice(*FindFormat(rows, 5100), codec_id::kGsm)->channelMask, kMonoAllowed);

  const CodecChoice* alac = FindCodecChoice(*FindFormat(rows, 6200), codec_id::kAlac);
  EXPECT_EQ(alac->channelMask, kMonoAllowed | kStereoAllowed);
  EXPECT_EQ(alac->bitRates, nullptr);
  // The lossless codecs offer the high-resolution rates.
  for (const CodecChoice* choice :
       {alac, FindCodecChoice(*FindFormat(rows, 3200), codec_id::kFlac),
        FindCodecChoice(*FindFormat(rows, 2000), codec_id::kPcmS24Le)}) {
    const std::vector<int32_t> rates = Values(choice->sampleRates);
    EXPECT_EQ(std::vector<int32_t>(rates.end() - 4, rates.end()),
              (std::vector<int32_t>{88200, 96000, 176400, 192000}))
        << choice->displayName;
  }
  EXPECT_EQ(FindCodecChoice(*FindFormat(rows, 3200), codec_id::kFlac)->bitRates, nullptr);

  const auto vorbis =
      ListValues(FindCodecChoice(*FindFormat(rows, 4000), codec_id::kVorbis)->bitRates);
  const auto mp3 = ListValues(FindCodecChoice(*FindFormat(rows, 1000), codec_id::kMp3)->bitRates);
  ASSERT_EQ(vorbis.size(), mp3.size() + 2);
  EXPECT_TRUE(std::equal(mp3.begin(), mp3.end(), vorbis.begin()));
  EXPECT_EQ(vorbis.back(), 480000);
  EXPECT_EQ(ListValues(FindCodecChoice(*FindFormat(rows, 3400), codec_id::kAc3)->bitRates).back(),
            640000);
}

TEST(NearestSupportedTest, SnapsOntoTheList) {
  const int32_t rates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, kEndOfList};
  EXPECT_EQ(NearestSupported(rates, 44100), 44100);  // equal kept
  EXPECT_EQ(NearestSupported(rates, 4000), 8000);    // below the first
  EXPECT_EQ(NearestSupported(rates, 96000), 48000);  // above the last
  EXPECT_EQ(NearestSupported(rates, 12000), 11025);  // 975 above vs 4000 below
  EXPECT_EQ(NearestSupported(rates, 13513), 16000);  // 2487 vs 2488
  EXPECT_EQ(NearestSupported(rates, 13512), 11025);  // exactly between: the lower
  EXPECT_EQ(NearestSupported(rates, 0), 8000);

  const int32_t gap[] = {8000, 16000, kEndOfList};
  EXPECT_EQ(NearestSupported(gap, 12000), 8000);
  EXPECT_EQ(NearestSupported(gap, 12001), 16000);

  const int32_t single[] = {44100, kEndOfList};
  EXPECT_EQ(NearestSupported(single, 8000), 44100);
  EXPECT_EQ(NearestSupported(single, 96000), 44100);

  EXPECT_EQ(NearestSupported(nullptr, 12345), 12345);
  const int32_t empty[] = {kEndOfList};
  EXPECT_EQ(NearestSupported(empty, 12345), 12345);

  const int32_t extreme[] = {-2000000000 + 1, 2000000000, kEndOfList};
  EXPECT_EQ(NearestSupported(extreme, 1), 2000000000);
}

}  // namespace
}  // namespace quillo
