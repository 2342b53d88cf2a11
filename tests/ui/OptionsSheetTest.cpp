#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <map>

#include "catalog/Catalog.h"
#include "tests/ui/OptionsTestSupport.h"
#include "ui/OptionsCommand.h"
#include "ui/Translate.h"
#include "ui/WindowLanguage.h"

namespace quillo {
namespace {

using test::OptionsTest;

TEST_F(OptionsTest, PagesFollowTheCatalogAndTheStartPageIsKept) {
  const QStringList captions = {
      "General", "Output", "ID3",  "3G2",         "3GP",    "AAC", "AAC for iPod/DSi",
      "AC3",     "AIFF",   "ALAC", "AMR",         "AU",     "AVI", "AWB",
      "FLAC",    "FLV",    "M4A",  "M4B",         "M4R",    "MKA", "MMF",
      "MOV",     "MP2",    "MP3",  "MP4",         "MPA",    "OGG", "OPUS",
      "SWF",     "VOC",    "WAV",  "WMA/WMV/ASF", "WavPack"};
  // A stored page the sheet lacks (40, or a negative one) opens the first.
  for (const auto& [stored, opened] : {std::pair{40, 0}, {-1, 0}, {30, 30}, {5, 5}}) {
    settings.optStartPageIndex = stored;
    COptSheet shown(nullptr, settings, Services());
    QStringList listed;
    for (int i = 0; i < shown.PageList()->count(); ++i) listed << shown.PageList()->item(i)->text();
    EXPECT_EQ(listed, captions);
    EXPECT_EQ(shown.CurrentIndex(), opened) << stored;
    EXPECT_EQ(shown.PageList()->currentRow(), opened);
    EXPECT_EQ(shown.windowTitle(), "Options");
  }
}

// Each radio group shows its stored value (values outside the list included)
// and gives back the value of the radio clicked.
TEST_F(OptionsTest, RadiosConvertTheirSettingsBothWays) {
  enum Group { kVolume, kTag, kTrack };
  const auto set = [](ConversionSettings& s, Group group, int value) {
    if (group == kVolume) s.volumeType = VolumeMode(value);
    if (group == kTag) s.id3TagType = TagMode(value);
    if (group == kTrack) {
      s.id3TagType = TagMode::Custom;  // the track radios need the custom tags
      s.tags.trackNumType = TrackNumberMode(value);
    }
  };
  const auto get = [](const ConversionSettings& s, Group group) {
    return group == kVolume ? int(s.volumeType)
           : group == kTag  ? int(s.id3TagType)
                            : int(s.tags.trackNumType);
  };
  const char* const normalize =
      "&Normalize volume automatically so that all output files have the same volume";
  const char* const keep = "&Keep original volume (do not adjust volume)";
  const char* const transfer = "&Transfer ID3 tag from source file";
  struct Case {
    const char* page;
    Group group;
    int stored;
    const char* shown;
    const char* clicked;
    int saved;
  };
  const Case cases[] = {
      {"General", kVolume, 0, normalize, keep, 2},
      {"General", kVolume, 1, "&Adjust volume manually", normalize, 0},
      {"General", kVolume, 7, keep, "&Adjust volume manually", 1},
      {"ID3", kTag, 1, "&Add custom ID3 tag", transfer, 2},
      {"ID3", kTag, 2, transfer, "&None", 0},
      {"ID3", kTag, 9, "&None", "&Add custom ID3 tag", 1},
      {"ID3", kTrack, 1, "&Sequence number in list", "C&ustom", 2},
      {"ID3", kTrack, 2, "C&ustom", "N&one", 0},
      {"ID3", kTrack, 5, "N&one", "&Sequence number in list", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.shown) + " from " + std::to_string(c.stored));
    set(settings, c.group, c.stored);
    Open(c.page);
    EXPECT_TRUE(Button(c.shown)->isChecked());
    Button(c.clicked)->click();
    ASSERT_TRUE(Ok());
    ConversionSettings result = settings;
    sheet->ApplyTo(result);
    EXPECT_EQ(get(result, c.group), c.saved);
  }
}

// Each failing check names the problem, focuses the control and keeps the
// user on the page, whether they pick another page or press OK. The value
// checks hold for disabled edits too: what they hold is stored.
TEST_F(OptionsTest, LeaveChecksKeepTheUserOnThePage) {
  const std::string relativeMessage =
      "The output folder must be a full path that starts with \"/\", for example "
      "\"/home/ann/Music\".";
  const std::string tooLong = "/" + std::string(4095, 'f');
  struct Case {
    const char* page;
    const char* edit;
    std::string text;
    std::string message;
    bool alsoDisabled;  // the check holds for the edit when it is disabled
  };
  const Case cases[] = {
      {"General", "filterEdit", " ; \t", "Please enter file extensions you need to filter.", false},
      {"General", "lengthEdit", "0", "Conversion length must be greater than 0 millisecond.",
       false},
      {"General", "skipEdit", "12x", "Please enter a positive integer.", true},
      {"General", "lengthEdit", "-5", "Please enter a positive integer.", true},
      {"General", "volumeEdit", "ten", "Please enter an integer.", true},
      {"General", "volumeEdit", "-50", "Please enter an integer between 1 and 32767.", true},
      {"General", "volumeEdit", "32768", "Please enter an integer between 1 and 32767.", true},
      {"Output", "folderEdit", "", "Please choose an output folder.", false},
      {"Output", "folderEdit", "   ", "Please choose an output folder.", true},
      {"Output", "folderEdit", "music/out", relativeMessage, true},
      {"Output", "folderEdit", tooLong, "The output folder's path is too long.", true},
      {"Output", "nameEdit", "{artist}/../{title}",
       "The name pattern must not hold \".\" or \"..\" as a folder: outputs stay inside the "
       "output folder.",
       false},
      {"ID3", "trackEdit", "300", "Please enter an integer between 0 and 255.", true},
      {"ID3", "trackEdit", "-1", "Please enter an integer between 0 and 255.", true},
  };
  for (const bool enabled : {true, false}) {
    // Every edit in use with a value that passes, or none in use.
    const int32_t on = enabled ? 1 : 0;
    settings.enableExtFilter = settings.enableSkipLength = settings.enableConvertLength = on;
    settings.filterExts = "mp3";
    settings.convertLength = 1000;
    settings.volumeType = enabled ? VolumeMode::Manual : VolumeMode::Keep;
    settings.destOutputFolderOpt =
        enabled ? OutputFolderMode::SpecificFolder : OutputFolderMode::SameAsSource;
    settings.id3TagType = enabled ? TagMode::Custom : TagMode::None;
    settings.tags.trackNumType = enabled ? TrackNumberMode::Custom : TrackNumberMode::None;
    for (const Case& c : cases) {
      if (!enabled && !c.alsoDisabled) continue;
      SCOPED_TRACE(std::string(c.edit) + " " + c.text.substr(0, 12) + (enabled ? "" : " disabled"));
      Open(c.page);
      const int page = sheet->CurrentIndex();
      ASSERT_EQ(Edit(c.edit)->isEnabled(), enabled);
      Edit(c.edit)->setText(QString::fromStdString(c.text));
      prompts.warnings.clear();
      sheet->PageList()->setCurrentRow(page == 0 ? 1 : 0);
      EXPECT_EQ(sheet->CurrentIndex(), page);
      EXPECT_EQ(sheet->PageList()->currentRow(), page);
      EXPECT_FALSE(Ok());
      EXPECT_EQ(prompts.warnings, std::vector<std::string>(2, c.message));
      if (enabled) {
        EXPECT_EQ(sheet->focusWidget(), Edit(c.edit));
      }
    }
  }
  // The longest folder Linux takes, and no folder while the source's is used.
  const std::string longest = "/" + std::string(4094, 'f');
  ASSERT_EQ(longest.size(), 4095u);
  for (const auto& [mode, folder] : {std::pair{OutputFolderMode::SpecificFolder, longest},
                                     std::pair{OutputFolderMode::SameAsSource, std::string()}}) {
    settings.destOutputFolderOpt = mode;
    Open("Output");
    Edit("folderEdit")->setText(QString::fromStdString(folder));
    prompts.warnings.clear();
    EXPECT_TRUE(Ok());
    EXPECT_TRUE(prompts.warnings.empty());
    ConversionSettings stored(dir.File("out"));
    sheet->ApplyTo(stored);
    EXPECT_EQ(stored.destSpecifiedFolder, folder);
  }
}

TEST_F(OptionsTest, ControlsAreEnabledByTheirChoices) {
  settings.id3TagType = TagMode::FromSource;
  settings.tags.titleAsFileName = 1;
  Open("ID3");
  // The names of the page's controls that are enabled or disabled.
  const auto controls = [&](bool enabled) {
    QStringList names;
    for (QWidget* w : sheet->Page(sheet->CurrentIndex()).findChildren<QWidget*>()) {
      const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                           qobject_cast<QComboBox*>(w);
      // The parts of a spin edit or a genre box follow their owner.
      if (!control || qobject_cast<QComboBox*>(w->parentWidget()) ||
          (qobject_cast<SpinEdit*>(w->parentWidget()) && !qobject_cast<QLineEdit*>(w)))
        continue;
      QWidget* named = qobject_cast<SpinEdit*>(w->parentWidget()) ? w->parentWidget() : w;
      if (w->isEnabled() == enabled)
        names << (named->objectName().isEmpty() ? w->property("text").toString()
                                                : named->objectName());
    }
    return names;
  };
  EXPECT_EQ(controls(true),
            (QStringList{"&Add custom ID3 tag", "&Transfer ID3 tag from source file",
                         "Transfer pictures (co&ver art)", "&None", "&Write ReplayGain tags"}));
  Button("&None")->click();
  EXPECT_FALSE(Button("&Write ReplayGain tags")->isEnabled());
  EXPECT_FALSE(Button("Transfer pictures (co&ver art)")->isEnabled());
  Button("&Add custom ID3 tag")->click();
  EXPECT_EQ(controls(false), (QStringList{"Transfer pictures (co&ver art)", "Al&bum gain too",
                                          "trackEdit", "titleEdit"}));
  Button("Na&me as file name (not include extension)")->click();
  EXPECT_EQ(sheet->focusWidget(), Edit("titleEdit"));
  Button("C&ustom")->click();
  EXPECT_EQ(sheet->focusWidget(), Edit("trackEdit"));
  EXPECT_EQ(controls(false), (QStringList{"Transfer pictures (co&ver art)", "Al&bum gain too"}));

  // The General page's edits follow their checks and take the focus.
  ASSERT_TRUE(sheet->ShowPage(0));
  Button("?")->click();
  ASSERT_EQ(prompts.informs.size(), 1u);
  EXPECT_NE(prompts.informs[0].find("\"L channel\" means the program outputs left channel"),
            std::string::npos);
  for (const auto& [check, edit] :
       {std::pair{"&Only add the following file extensions for \"Add Folder\" and Drag/Drop",
                  "filterEdit"},
        {"&Skip the first", "skipEdit"},
        {"Only &convert", "lengthEdit"},
        {"&Adjust volume manually", "volumeEdit"},
        {"Normalize loudn&ess to", "loudnessEdit"}}) {
    EXPECT_FALSE(Edit(edit)->isEnabled()) << edit;
    Button(check)->click();
    EXPECT_TRUE(Edit(edit)->isEnabled()) << edit;
    EXPECT_EQ(sheet->focusWidget(), Edit(edit));
  }

  // The Output page's folder controls follow the folder mode.
  Open("Output");
  for (const char* mode : {"Same as source file", "Specific folder"}) {
    Choose("folderModeList", mode);
    const bool specific = mode[1] == 'p';
    for (const char* button : {"&Browse", "O&pen", "&Keep original directory tree"})
      EXPECT_EQ(Button(button)->isEnabled(), specific) << button;
    EXPECT_EQ(Edit("folderEdit")->isEnabled(), specific);
  }
}

// The arrows (here the Up and Down keys) step within each edit's range; text
// that is no number starts from the bottom of the range.
TEST_F(OptionsTest, SpinsStepWithinTheirRanges) {
  settings.id3TagType = TagMode::Custom;
  settings.tags.trackNumType = TrackNumberMode::Custom;
  settings.volumeType = VolumeMode::Manual;
  settings.enableSkipLength = settings.enableConvertLength = 1;
  settings.convertLength = 1000;
  struct Case {
    const char* page;
    const char* edit;
    const char* text;
    Qt::Key key;
    const char* stepped;
  };
  const Case cases[] = {
      {"General", "skipEdit", "150", Qt::Key_Up, "250"},
      {"General", "lengthEdit", "2147483600", Qt::Key_Up, "2147483647"},
      {"General", "volumeEdit", "15", Qt::Key_Down, "10"},
      {"General", "volumeEdit", "32760", Qt::Key_Up, "32767"},
      {"General", "volumeEdit", "loud", Qt::Key_Up, "20"},
      {"ID3", "trackEdit", "255", Qt::Key_Up, "255"},
  };
  for (const Case& c : cases) {
    Open(c.page);
    Edit(c.edit)->setText(c.text);
    QTest::keyClick(Edit(c.edit), c.key);
    EXPECT_EQ(Edit(c.edit)->text(), c.stepped) << c.edit << " from " << c.text;
  }
}

TEST_F(OptionsTest, OutputPageBrowsesAndOpensTheFolder) {
  settings.destOutputFolderOpt = OutputFolderMode::SpecificFolder;
  settings.destSpecifiedFolder = dir.File("music") + "/";
  Open("Output");
  chosenFolder = QString::fromStdString(dir.File("chosen"));
  Button("&Browse")->click();
  ASSERT_EQ(browsed.size(), 1u);
  EXPECT_EQ(browsed[0].first, "Please choose an output folder:");
  EXPECT_EQ(browsed[0].second.toStdString(), dir.File("music"));
  EXPECT_EQ(Edit("folderEdit")->text(), chosenFolder + "/");
  chosenFolder.clear();  // cancelled: the text stays
  Button("&Browse")->click();
  EXPECT_EQ(Edit("folderEdit")->text().toStdString(), dir.File("chosen") + "/");

  Button("O&pen")->click();
  EXPECT_EQ(prompts.warnings,
            std::vector<std::string>{"The folder \"" + dir.File("chosen") +
                                     "/\" doesn't exist yet.\n\nNote: the program will create the "
                                     "folder automatically when converting files."});
  std::filesystem::create_directories(dir.File("chosen"));
  Button("O&pen")->click();
  EXPECT_EQ(shell.opened, std::vector<std::string>{dir.File("chosen") + "/"});
}

// The loudness choice keeps its target within -40..-5 LUFS and stores it
// with the fourth volume mode; the new tag checks and the Output page's
// verify check are stored too.
TEST_F(OptionsTest, LoudnessTargetAndTheNewChecksAreApplied) {
  settings.volumeType = VolumeMode::Keep;
  Open("General");
  EXPECT_EQ(Edit("loudnessEdit")->text(), "-18");
  Button("Normalize loudn&ess to")->click();
  for (const char* bad : {"-41", "-4", "x"}) {
    Edit("loudnessEdit")->setText(bad);
    prompts.warnings.clear();
    EXPECT_FALSE(Ok()) << bad;
    EXPECT_EQ(prompts.warnings.back(), "Please enter an integer between -40 and -5.");
  }
  Edit("loudnessEdit")->setText("-23");
  Button("by al&bum")->click();
  ASSERT_TRUE(sheet->ShowPage(PageIndex("ID3")));
  Button("Transfer pictures (co&ver art)")->click();
  EXPECT_FALSE(Button("Al&bum gain too")->isEnabled());
  Button("&Write ReplayGain tags")->click();
  Button("Al&bum gain too")->click();
  ASSERT_TRUE(sheet->ShowPage(PageIndex("Output")));
  Button("&Verify each output: decode it back before it replaces anything")->click();
  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  EXPECT_EQ(settings.volumeType, VolumeMode::Loudness);
  EXPECT_EQ(settings.loudnessTarget, -23);
  EXPECT_EQ(settings.transferPictures, 0);
  EXPECT_EQ(settings.writeReplayGain, 2);
  EXPECT_EQ(settings.loudnessByAlbum, 1);
  EXPECT_EQ(settings.verifyOutput, 1);
}

TEST_F(OptionsTest, GenreBoxListsEveryGenreSortedAndTakesAnyText) {
  settings.id3TagType = TagMode::Custom;
  settings.tags.genre = "Jpop";
  Open("ID3");
  QComboBox* genres = Named<QComboBox>("genreBox");
  const QStringList names = Texts(genres);
  EXPECT_EQ(names.size(), 148);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  }));
  for (const char* name : {"Alt. Rock", "Folk/Rock", "Trash Metal", "Jpop"})
    EXPECT_TRUE(names.contains(name)) << name;
  EXPECT_EQ(genres->currentText(), "Jpop");
  genres->setCurrentText("Chiptune");
  ASSERT_TRUE(Ok());
  sheet->ApplyTo(settings);
  EXPECT_EQ(settings.tags.genre, "Chiptune");
}

// Every page fits the sheet, and Tab from the page list reaches each enabled
// control of the page before it comes back.
TEST_F(OptionsTest, EveryPageFitsAndTabReachesEveryControl) {
  settings.id3TagType = TagMode::Custom;
  settings.tags.trackNumType = TrackNumberMode::Custom;
  settings.tags.titleAsFileName = 0;
  settings.volumeType = VolumeMode::Manual;
  settings.enableExtFilter = settings.enableSkipLength = settings.enableConvertLength = 1;
  settings.filterExts = "mp3";
  settings.convertLength = 1000;
  Open();
  sheet->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
  for (int index = 0; index < sheet->PageCount(); ++index) {
    ASSERT_TRUE(sheet->ShowPage(index));
    QWidget& page = sheet->Page(index);
    SCOPED_TRACE(sheet->Page(index).Caption().toStdString());
    QApplication::processEvents();
    QSet<QWidget*> controls;
    for (QWidget* w : page.findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      EXPECT_TRUE(page.rect().contains(QRect(w->mapTo(&page, QPoint(0, 0)), w->size())))
          << w->metaObject()->className() << " " << w->property("text").toString().toStdString();
      if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
          !qobject_cast<QComboBox*>(w->parentWidget()))
        controls.insert(w);
    }
    QSet<QWidget*> reached;
    sheet->PageList()->setFocus();
    for (int step = 0; step < 100; ++step) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      if (QApplication::focusWidget() == sheet->PageList()) break;
      reached.insert(QApplication::focusWidget());
    }
    // Tab enters a group of radios once; the arrow keys move within it.
    const auto groupReached = [&](QWidget* control) {
      auto* radio = qobject_cast<QRadioButton*>(control);
      if (radio == nullptr || radio->group() == nullptr) return false;
      const QList<QAbstractButton*> group = radio->group()->buttons();
      return std::any_of(group.begin(), group.end(),
                         [&](QAbstractButton* b) { return reached.contains(b); });
    };
    for (QWidget* control : controls)
      EXPECT_TRUE(reached.contains(control) || groupReached(control))
          << control->metaObject()->className() << " "
          << control->property("text").toString().toStdString() << " "
          << control->objectName().toStdString();
    EXPECT_TRUE(reached.contains(sheet->OkButton()) && reached.contains(sheet->CancelButton()));
  }
  // Within the window's 950 by 650.
  EXPECT_LE(sheet->width(), 950);
  EXPECT_LE(sheet->height(), 650);
}

// On every page each Alt letter reaches one control: a label counts for the
// field it is the buddy of, the sheet's own buttons count on every page. So
// in every language the window speaks.
class AltLetterTest : public OptionsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AltLetterTest, EachAltLetterBelongsToOneControlOnEveryPage) {
  const WindowLanguage translation{QLocale(QString::fromLatin1(GetParam()))};
  // Every control shown: the custom tags with their track edit, the manual
  // volume, every check in use.
  settings.id3TagType = TagMode::Custom;
  settings.tags.trackNumType = TrackNumberMode::Custom;
  settings.volumeType = VolumeMode::Manual;
  settings.enableExtFilter = settings.enableSkipLength = settings.enableConvertLength = 1;
  settings.filterExts = "mp3";
  settings.convertLength = 1000;
  Open(Tr("General"));
  for (int index = 0; index < sheet->PageCount(); ++index) {
    ASSERT_TRUE(sheet->ShowPage(index));
    QApplication::processEvents();
    std::map<QString, QString> owners;  // letter -> the text that holds it
    for (QWidget* w : sheet->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      QString text;
      if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
      if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && label->buddy() != nullptr)
        text = label->text();
      if (auto* group = qobject_cast<QGroupBox*>(w)) text = group->title();
      const QKeySequence key = QKeySequence::mnemonic(text);
      if (key.isEmpty()) continue;
      const QString letter = key.toString();
      const auto [held, fresh] = owners.emplace(letter, text);
      EXPECT_TRUE(fresh) << sheet->Page(index).Caption().toStdString() << ": "
                         << letter.toStdString() << " is both \"" << held->second.toStdString()
                         << "\" and \"" << text.toStdString() << '"';
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, AltLetterTest, ::testing::Values("en", "de", "fr"));

// The sheet as the Options command runs it, answered by `edit` and then OK
// or Cancel.
class OptionsCommandTest : public OptionsTest {
 protected:
  std::string conf = dir.File("quillo.conf");
  IniSettingsProvider provider{conf};
  SettingsStore store{provider};

  void Run(const std::function<void(COptSheet&)>& edit, bool ok) {
    test::WhileRunning(
        [&] {
          auto* shown = test::VisibleWindow<COptSheet>();
          if (shown == nullptr) return false;
          edit(*shown);
          (ok ? shown->OkButton() : shown->CancelButton())->click();
          if (shown->isVisible()) {
            ADD_FAILURE() << "the sheet did not close";
            shown->reject();
          }
          return true;
        },
        [&] { RunOptions(nullptr, settings, store, Services()); });
  }
  // Turns the helpers to page `page` of the sheet the command shows.
  void Edits(COptSheet& shown, const char* page) {
    sheet = &shown;
    ASSERT_TRUE(shown.ShowPage(PageIndex(page)));
  }
  QByteArray File() const {
    QFile file(QString::fromStdString(conf));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

TEST_F(OptionsCommandTest, OkStoresEveryPageAndPagesNeverShownKeepTheirValues) {
  FindFormat(settings.formats, format_id::kAac)->bitRate = 100000;  // in no list
  settings.awbMode = 3;
  settings.amrMode = 9;
  Run(
      [&](COptSheet& shown) {
        Edits(shown, "General");
        Button("&Only add the following file extensions for \"Add Folder\" and Drag/Drop")->click();
        Edit("filterEdit")->setText("mp3; wav");
        Edits(shown, "Output");
        Choose("targetList", "Overwrite");
        Edits(shown, "ID3");
        Button("&Add custom ID3 tag")->click();
        Edit("titleEdit")->setText("ignored while named by file");
        Edits(shown, "MP3");
        Button("A&uto (the program will choose the best options)")->click();
        Choose("bitRateList", "192 kbps");
        Edits(shown, "AMR");  // 9 shows 7.4 kbps, mode 4
        Edits(shown, "WAV");
      },
      true);
  EXPECT_EQ(settings.filterExts, "mp3,wav");
  EXPECT_EQ(settings.extensionFilter, (std::vector<std::string>{"mp3", "wav"}));
  EXPECT_EQ(settings.optStartPageIndex, 30);  // WAV

  ConversionSettings stored(dir.File("elsewhere"));
  IniSettingsProvider file(conf);
  SettingsStore(file).load(stored);
  EXPECT_EQ(stored.enableExtFilter, 1);
  EXPECT_EQ(stored.filterExts, "mp3,wav");
  EXPECT_EQ(stored.targetExistsOpt, TargetExistsPolicy::Overwrite);
  EXPECT_EQ(stored.id3TagType, TagMode::Custom);
  EXPECT_EQ(stored.tags.title, "ignored while named by file");
  const OutputFormat& mp3 = *FindFormat(stored.formats, format_id::kMp3);
  EXPECT_EQ(std::tuple(mp3.autoEncParam, mp3.bitRate, mp3.sampleRate),
            std::tuple(0, 192000, 44100));
  EXPECT_EQ(FindFormat(stored.formats, format_id::kAac)->bitRate, 100000);
  EXPECT_EQ(stored.amrMode, 4);
  EXPECT_EQ(stored.awbMode, 3);
  EXPECT_TRUE(File().contains("MP3BitRate=192000"));
}

TEST_F(OptionsCommandTest, CancelChangesNothingButTheStartPage) {
  ASSERT_TRUE(store.save(settings, kSaveWindow | kSaveOptions | kSaveSourceFolder));
  const QByteArray before = File();
  const ConversionSettings original = settings;
  Run(
      [&](COptSheet& shown) {
        Edits(shown, "General");
        Button("&Do not load hidden files")->click();
        Edits(shown, "MP3");
        Choose("bitRateList", "32 kbps");
        Edits(shown, "AC3");
      },
      false);
  EXPECT_EQ(settings.doNotLoadHiddenFiles, original.doNotLoadHiddenFiles);
  EXPECT_EQ(FindFormat(settings.formats, format_id::kMp3)->bitRate, 128000);
  EXPECT_EQ(settings.optStartPageIndex, 7);
  EXPECT_EQ(File(), before);

  // Closing the window stores the start page, and only that changes.
  store.save(settings, kSaveWindow);
  QList<QByteArray> was = before.split('\n'), now = File().split('\n');
  ASSERT_EQ(was.size(), now.size());
  for (qsizetype i = 0; i < was.size(); ++i)
    if (was[i] != now[i]) {
      EXPECT_EQ(now[i], "OptStartPageIndex=7");
    }
  EXPECT_TRUE(now.contains("OptStartPageIndex=7"));
}

}  // namespace
}  // namespace quillo
