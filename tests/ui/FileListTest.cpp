#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QMenu>
#include <QPushButton>
#include <QUrl>

#include "catalog/Catalog.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/FileListView.h"
#include "ui/FormatBox.h"
#include "ui/ListMenus.h"
#include "ui/Shell.h"
#include "ui/UiScale.h"
#include "ui/WebAddresses.h"

namespace quillo {
namespace {

using test::WindowTest;

class FileList : public ::testing::Test, public WindowTest {
 protected:
  // Rows straight into the list, as probing would append them.
  void AddRow(const std::string& name, uint32_t seconds, int kbps, int hz, int channels,
              const std::string& volume) {
    FileItem item;
    item.path = "/music/" + name;
    item.duration = seconds;
    item.bitRate = kbps;
    item.sampleRate = hz;
    item.channels = channels;
    const int row = Model().Append(item, item.path);
    Model().SetVolumeCell(row, volume);
    Model().SetOutputCell(row, name.substr(0, name.find('.')) + ".wav");
  }

  void FillFourRows() {
    AddRow("b.mp3", 3723, 128, 44100, 2, "100.00%");  // 1:02:03
    AddRow("a.mp3", 59, 32, 8000, 6, "50.00%");       // 00:59, 5.1
    AddRow("C.mp3", 0, 0, 0, 1, "200.00%");           // unknown duration, rates
    AddRow("b2.mp3", 600, 1411, 22050, 10, "75.00%");
  }

  void Select(std::initializer_list<int> rows) {
    QItemSelectionModel* selection = Window().List().selectionModel();
    selection->clearSelection();
    for (int row : rows)
      selection->select(Model().index(row, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
};

// Each column in both directions: durations by time (hours included, the
// unknown first), rates by number, the rest as text in the locale's order.
TEST_F(FileList, EveryColumnSortsByItsKindBothWays) {
  FillFourRows();
  struct Case {
    int column;
    std::vector<std::string> ascending;  // the File column after the sort
  };
  const Case cases[] = {
      {kFileColumn, {"a.mp3", "b.mp3", "b2.mp3", "C.mp3"}},
      {kDurationColumn, {"C.mp3", "a.mp3", "b2.mp3", "b.mp3"}},
      {kBitRateColumn, {"C.mp3", "a.mp3", "b.mp3", "b2.mp3"}},
      {kSampleRateColumn, {"C.mp3", "a.mp3", "b2.mp3", "b.mp3"}},
      {kChannelsColumn, {"b2.mp3", "a.mp3", "C.mp3", "b.mp3"}},  // 10, 5.1, Mono, Stereo
      {kVolumeColumn, {"b.mp3", "C.mp3", "a.mp3", "b2.mp3"}},    // "100.00%" < "200.00%" < "50..."
      {kOutputColumn, {"a.mp3", "b.mp3", "b2.mp3", "C.mp3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Column(c.column).heading);
    Model().sort(c.column, Qt::AscendingOrder);
    EXPECT_EQ(ColumnTexts(kFileColumn), c.ascending);
    Model().sort(c.column, Qt::DescendingOrder);
    const std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(ColumnTexts(kFileColumn), descending);
  }
}

// A heading clicked twice sorts ascending, then descending; another heading
// starts ascending. The selection stays with its files.
TEST_F(FileList, HeadingClicksToggleTheOrderAndKeepTheSelection) {
  FillFourRows();
  FileListView& list = Window().List();
  Select({1});  // a.mp3
  list.SortByColumn(kBitRateColumn);
  EXPECT_EQ(ColumnTexts(kBitRateColumn),
            (std::vector<std::string>{"", "32 kbps", "128 kbps", "1411 kbps"}));
  list.SortByColumn(kBitRateColumn);
  EXPECT_EQ(ColumnTexts(kBitRateColumn),
            (std::vector<std::string>{"1411 kbps", "128 kbps", "32 kbps", ""}));
  list.SortByColumn(kDurationColumn);
  EXPECT_EQ(ColumnTexts(kDurationColumn),
            (std::vector<std::string>{"", "00:59", "10:00", "1:02:03"}));
  ASSERT_EQ(list.SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(Model().CellText(1, kFileColumn), "a.mp3");
}

TEST_F(FileList, RemoveDeletesSeparatedRowsAndFreesTheirPaths) {
  FillFourRows();
  AddRow("e.mp3", 1, 1, 1, 1, "");
  Select({1, 3});
  Window().Run(Command::Remove);
  EXPECT_EQ(ColumnTexts(kFileColumn), (std::vector<std::string>{"b.mp3", "C.mp3", "e.mp3"}));
  EXPECT_FALSE(Model().ContainsKey("/music/a.mp3"));
  EXPECT_TRUE(Model().ContainsKey("/music/e.mp3"));

  // Nothing selected: a notice, nothing removed. Remove All needs no selection.
  Select({});
  Window().Run(Command::Remove);
  EXPECT_EQ(prompts.informs, std::vector<std::string>{MainWindow::kSelectFileMessage});
  EXPECT_EQ(Model().Count(), 3);
  Window().Run(Command::RemoveAll);
  EXPECT_EQ(Model().Count(), 0);
  EXPECT_FALSE(Model().ContainsKey("/music/b.mp3"));
}

// The context menu's items, separators and enabling for a few list states,
// read from the menu the window would show.
TEST_F(FileList, ContextMenuEnablesItemsByTheSelection) {
  struct Case {
    ListState state;
    std::string enabled;  // one letter per item: y enabled, n disabled, | separator
  };
  const Case cases[] = {
      {{0, 0, false}, "nn|nn|nn|nn|yynn"}, {{3, 0, false}, "nn|ny|ny|nn|yyny"},
      {{3, 1, false}, "yn|yy|yy|yn|yyyy"},  // not converted yet: no destination
      {{3, 1, true}, "yy|yy|yy|yy|yyyy"},  {{3, 2, true}, "nn|yy|yy|nn|yyyy"},
  };
  for (const Case& c : cases) {
    QMenu menu;
    FillListMenu(menu, c.state, [](Command) {});
    std::string enabled;
    for (QAction* action : menu.actions())
      enabled += action->isSeparator() ? '|' : (action->isEnabled() ? 'y' : 'n');
    EXPECT_EQ(enabled, c.enabled) << c.state.rows << " rows, " << c.state.selected << " selected";
  }
  QMenu menu;
  FillListMenu(menu, {}, [](Command) {});
  EXPECT_EQ(menu.actions().front()->text(), "&Play Source");
  EXPECT_EQ(menu.actions().back()->text(), "Remove Al&l");

  // The window's own state: one unconverted row selected.
  AddRow("x.mp3", 1, 1, 1, 1, "");
  Select({0});
  const ListState state = Window().CurrentListState();
  EXPECT_EQ(state.selected, 1);
  EXPECT_FALSE(MenuItemEnabled(Command::PlayDestination, state));
  EXPECT_TRUE(MenuItemEnabled(Command::BrowseSourceFolder, state));
}

TEST_F(FileList, VideoEntryExplainsAndKeepsTheFormat) {
  settings.outputFormat = format_id::kFlac;
  FormatBox& box = Window().Formats();
  ASSERT_EQ(box.count(), static_cast<int>(settings.formats.size()) + 1);
  EXPECT_EQ(box.itemText(box.count() - 1).toStdString(), FormatBox::kVideoEntryText);
  const int flac = box.currentIndex();
  EXPECT_EQ(box.itemData(flac).toInt(), format_id::kFlac);

  box.setCurrentIndex(box.count() - 1);
  EXPECT_EQ(prompts.informs, std::vector<std::string>{FormatBox::kVideoNotice});
  EXPECT_EQ(box.currentIndex(), flac);
  EXPECT_EQ(settings.outputFormat, format_id::kFlac);

  box.setCurrentIndex(0);
  EXPECT_EQ(settings.outputFormat, settings.formats.front().formatId);
}

TEST_F(FileList, UnknownStoredFormatSelectsTheFirstEntry) {
  settings.outputFormat = 4242;
  EXPECT_EQ(Window().Formats().currentIndex(), 0);
  EXPECT_EQ(settings.outputFormat, settings.formats.front().formatId);
}

// The first start opens the help page; the next start with the same
// settings does not. Closing the window stores the chosen format.
TEST_F(FileList, FirstStartOpensHelpAndClosingStoresTheFormat) {
  Window();
  ASSERT_EQ(shell.opened.size(), 1u);
  const std::string& help = shell.opened[0];
  EXPECT_TRUE(help == web::kHomepage || help.ends_with("/quillo-help.html")) << help;
  Window().Formats().setCurrentIndex(Window().Formats().findData(format_id::kOgg));
  EXPECT_TRUE(Window().close());

  ConversionSettings again(out);
  store.load(again);
  EXPECT_EQ(again.outputFormat, format_id::kOgg);
  MainWindow second({test::Backends(), again, store, prompts, shell});
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(second.Formats().currentText().toStdString(), " to OGG");
}

// On a screen smaller than the window's design size the window shrinks to
// the screen's available area and only the list gives up room: the buttons
// keep their places and the help button stays in the top right corner.
TEST_F(FileList, TheWindowFitsTheScreenAndTheListGivesUpTheRoom) {
  const QRect design(0, 0, Scaled(950), Scaled(650));
  const QRect button = Window().findChild<QPushButton*>()->geometry();
  for (const QRect& available : {QRect(0, 0, 3840, 2400), QRect(0, 0, 1280, 560),
                                 QRect(0, 30, 800, 600), QRect(0, 0, 640, 400)}) {
    SCOPED_TRACE(available.width());
    Window().FitTo(available);
    const QRect window = Window().rect();
    const bool fits =
        available.width() >= design.width() + 50 && available.height() >= design.height() + 50;
    if (fits) {
      EXPECT_EQ(window, design);
    }
    EXPECT_LE(window.width(), available.width());
    EXPECT_LE(window.height(), available.height());
    const QRect list = Window().List().geometry();
    EXPECT_TRUE(window.contains(list)) << list.width() << "x" << list.height();
    EXPECT_EQ(list.right(), window.right() - Scaled(10));
    EXPECT_EQ(list.size(), fits ? QSize(Scaled(803), Scaled(575)) : list.size());
    EXPECT_EQ(Window().findChild<QPushButton*>()->geometry(), button);
  }
}

// Receives what the desktop would open.
class OpenedUrls final : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> urls;

 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }
};

// Showing a file in the file manager without a bus to reach it opens the
// file's folder instead of doing nothing.
TEST(DesktopShell, RevealWithoutABusOpensTheFolder) {
  OpenedUrls opened;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "Open");
  DesktopShell(QStringLiteral("no bus of that name")).Reveal("/music/live/set.wav");
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  EXPECT_EQ(opened.urls, std::vector<QUrl>{QUrl::fromLocalFile(QStringLiteral("/music/live"))});
}

}  // namespace
}  // namespace quillo

#include "FileListTest.moc"
