#include <gtest/gtest.h>

#include <QDropEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "engine/Conversion.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/OpenFileFilters.h"
#include "ui/SingleBarDialog.h"

namespace quillo {
namespace {

namespace fs = std::filesystem;
using test::WindowTest;

class Adding : public ::testing::Test, public WindowTest {
 protected:
  // One short WAV, made once per test and copied wherever a test needs one.
  std::string Wav(const std::string& path) {
    if (wav_.empty()) wav_ = test::MakeAudio(dir.File("source.wav"), "sine=f=440:d=0.2");
    fs::create_directories(fs::path(path).parent_path());
    fs::copy_file(wav_, path, fs::copy_options::overwrite_existing);
    return path;
  }
  static QStringList Paths(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) list.push_back(QString::fromStdString(path));
    return list;
  }

 private:
  std::string wav_;
};

TEST_F(Adding, AddsEachFileOnceWithItsProperties) {
  const std::string a = Wav(dir.File("in/a.wav"));
  const std::string b = Wav(dir.File("in/b.wav"));
  Window().AddChosenFiles(Paths({a, b, a}));
  Window().AddDroppedPaths(Paths({dir.File("in/../in/b.wav")}));  // the same file again
  EXPECT_TRUE(prompts.warnings.empty());
  ASSERT_EQ(ColumnTexts(kFileColumn), (std::vector<std::string>{"a.wav", "b.wav"}));
  EXPECT_EQ(Model().CellText(0, kSampleRateColumn), "44100 Hz");
  EXPECT_EQ(Model().CellText(0, kChannelsColumn), "Mono");
  EXPECT_EQ(Model().Item(0).path, a);
  EXPECT_FALSE(Window().IsBusy());

  // A folder dropped from a file manager, as a list of file addresses.
  const std::string c = Wav(dir.File("dropped/sub/c.wav"));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("dropped")))});
  QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Window(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Window(), &drop);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Model().Count() == 3; }, 5000));
  EXPECT_EQ(Model().Item(2).path, c);
}

// 45 unreadable files: the message lists 30 and then "<more files>...";
// the readable file among them is added.
TEST_F(Adding, FailureSummaryListsThirtyPaths) {
  std::vector<std::string> paths;
  for (int i = 0; i < 45; ++i) {
    paths.push_back(dir.File("bad" + std::to_string(i) + ".mp3"));
    test::WriteFile(paths.back(), {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'});
  }
  paths.push_back(Wav(dir.File("good.wav")));
  Window().AddChosenFiles(Paths(paths));
  EXPECT_EQ(Model().Count(), 1);
  ASSERT_EQ(prompts.warnings.size(), 1u);
  std::string expected = "Failed to load the following files.\n\n";
  for (int i = 0; i < 30; ++i) expected += paths[static_cast<size_t>(i)] + "\n";
  expected += "<more files>...\n";
  EXPECT_EQ(prompts.warnings[0], expected);

  // A CD track copied to a disk fails with the note about CD drives.
  prompts.warnings.clear();
  test::WriteFile(dir.File("Track01.cda"), std::vector<uint8_t>(44, 0));
  Window().AddChosenFiles(Paths({dir.File("Track01.cda")}));
  ASSERT_EQ(prompts.warnings.size(), 1u);
  EXPECT_EQ(prompts.warnings[0], "Failed to load the following files.\n\n" +
                                     dir.File("Track01.cda") + "\n\n" + kCdaOnHardDiskDetail);
}

// The extension and hidden-file filters apply to folders and dropped items,
// not to files chosen in the dialog; a link the filters refuse is followed.
TEST_F(Adding, FiltersApplyToFoldersAndDropsOnly) {
  settings.enableExtFilter = 1;
  settings.filterExts = "mp3";
  settings.doNotLoadHiddenFiles = 1;
  settings.rebuildExtensionFilter();
  const std::string mp3 = dir.File("source.mp3");
  test::MakeAudio(mp3, "sine=f=440:d=0.2");
  const std::string folder = dir.File("drop");
  fs::create_directories(folder + "/sub/.hidden");
  fs::copy_file(mp3, folder + "/one.mp3");
  fs::copy_file(mp3, folder + "/sub/TWO.MP3");
  fs::copy_file(mp3, folder + "/sub/.hidden/three.mp3");            // hidden folder: still searched
  fs::copy_file(mp3, folder + "/.four.mp3");                        // hidden file: skipped
  Wav(folder + "/five.wav");                                        // not in the filter
  fs::create_symlink(dir.File("source.mp3"), folder + "/six.lnk");  // followed to source.mp3

  Window().AddDroppedPaths(Paths({folder}));
  std::vector<std::string> names = ColumnTexts(kFileColumn);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"TWO.MP3", "one.mp3", "source.mp3", "three.mp3"}));

  Window().AddChosenFiles(Paths({folder + "/five.wav", folder + "/.four.mp3"}));
  EXPECT_EQ(Model().Count(), 6);
  EXPECT_TRUE(prompts.warnings.empty());

  // Add Folder searches the same way and keeps the folder for next time.
  Window().Run(Command::RemoveAll);
  Window().AddFolderPath(QString::fromStdString(folder + "/sub"));
  EXPECT_EQ(Model().Count(), 2);
  EXPECT_EQ(settings.folder, folder + "/sub/");
  ConversionSettings reloaded(out);
  store.load(reloaded);
  EXPECT_EQ(reloaded.folder, folder + "/sub/");
}

// A folder the search could not enter is listed with the files that failed,
// for Add Folder and for a drop alike; the files it could reach are added.
TEST_F(Adding, FoldersThatCannotBeSearchedAreListed) {
  const std::string folder = dir.File("tree");
  std::string deep = folder;
  for (int level = 0; level < 66; ++level) deep += "/d";
  Wav(deep + "/lost.wav");
  Wav(folder + "/found.wav");
  const std::string expected = "Failed to load the following files.\n\n" +
                               deep.substr(0, folder.size() + 2 * 65) +
                               " (more than 64 folders deep)\n";
  Window().AddFolderPath(QString::fromStdString(folder));
  Window().Run(Command::RemoveAll);
  Window().AddDroppedPaths(Paths({folder}));
  EXPECT_EQ(ColumnTexts(kFileColumn), std::vector<std::string>{"found.wav"});
  EXPECT_EQ(prompts.warnings, (std::vector<std::string>{expected, expected}));
}

TEST_F(Adding, CancelStopsAfterTheCurrentFileAndKeepsTheAdded) {
  std::vector<std::string> paths;
  for (int i = 0; i < 300; ++i)
    paths.push_back(Wav(dir.File("many/" + std::to_string(i) + ".wav")));
  int seenPosition = 0;
  test::WhileRunning(
      [&] {
        auto* dialog = test::VisibleWindow<SingleBarDialog>();
        if (dialog == nullptr || dialog->Position() < 3) return false;
        EXPECT_EQ(dialog->Maximum(), 300);
        seenPosition = dialog->Position();
        dialog->CancelButton()->click();
        dialog->CancelButton()->click();  // twice is the same as once
        return true;
      },
      [&] { Window().AddChosenFiles(Paths(paths)); });
  ASSERT_GE(seenPosition, 3);
  // The file whose step the dialog showed was added; the loop stopped at its end.
  EXPECT_EQ(Model().Count(), seenPosition);
  EXPECT_TRUE(prompts.warnings.empty());
  EXPECT_EQ(test::VisibleWindow<SingleBarDialog>(), nullptr);
  EXPECT_FALSE(Window().IsBusy());
  EXPECT_TRUE(Window().List().isEnabled());
}

// The dialog's filters: 51 of them (cue sheets among them), "All Files" first and matching any
// name, each matching names whatever their letters' case.
TEST_F(Adding, OpenDialogFiltersMatchAnyCase) {
  const QStringList filters = OpenFileFilters();
  ASSERT_EQ(filters.size(), 51);
  EXPECT_TRUE(filters.contains("Cue Sheets (*.[cC][uU][eE])"));
  EXPECT_EQ(filters.front(), "All Files (*)");
  EXPECT_TRUE(filters.contains(
      "AIFF Files (*.[aA][iI][fF][fF] *.[aA][iI][fF] *.[aA][iI][fF][cC] *.[aA][fF][cC])"));
  EXPECT_TRUE(filters.contains("Musepack (*.[mM][pP][cC] *.[mM][pP]+ *.[mM][pP][pP])"));
  // Matched letter case and all, as the desktop's dialogs match.
  const auto matches = [](const QString& pattern, const QString& name) {
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
        .match(name)
        .hasMatch();
  };
  for (const char* name : {"SONG.MP3", "song.mp3", "Song.Mp3"})
    EXPECT_TRUE(matches(AnyCasePattern("*.mp3"), name)) << name;
  EXPECT_FALSE(matches(AnyCasePattern("*.mp3"), "song.mp4"));
  EXPECT_EQ(filters.back(), "YUV Video Files (*.[yY][uU][vV])");

  const std::string folder = dir.File("pick");
  fs::create_directories(folder);
  for (const char* name : {"a.MP3", "b.mp3", "c.Mp3", "d.wav", "README"})
    test::WriteFile(folder + "/" + name, {0});
  QFileDialog dialog(nullptr, "Add Files", QString::fromStdString(folder));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(filters);
  auto* files = dialog.findChild<QFileSystemModel*>();
  auto* view = dialog.findChild<QListView*>("listView");
  ASSERT_NE(files, nullptr);
  ASSERT_NE(view, nullptr);
  const auto shown = [&] { return view->model()->rowCount(view->rootIndex()); };
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == 5; }, 5000)) << shown();
  dialog.selectNameFilter("MP3 Files (*.[mM][pP]3)");
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown() == 3; }, 5000)) << shown();
}

}  // namespace
}  // namespace quillo
