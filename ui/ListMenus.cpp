#include "ui/ListMenus.h"

#include <QMenu>

#include "ui/Translate.h"

namespace quillo {

namespace {

// One menu item; a null text is a separator.
struct MenuItem {
  const char* text;  // the text after a tab names the item's key
  Command command;
};

constexpr MenuItem kSeparator{nullptr, Command::About};

constexpr MenuItem kListMenu[] = {
    {"&Play Source", Command::PlaySource},
    {"Play &Destination", Command::PlayDestination},
    kSeparator,
    {"&Convert Selected", Command::ConvertSelected},
    {"Convert All", Command::ConvertAll},
    kSeparator,
    {"&Convert Selected to One", Command::ConvertSelectedToOne},
    {"Convert All to One", Command::ConvertAllToOne},
    kSeparator,
    {"Browse &Source Folder", Command::BrowseSourceFolder},
    {"Browse Destination &Folder", Command::BrowseDestinationFolder},
    kSeparator,
    {"&Add Files...\tCtrl+O", Command::AddFiles},
    {"Add F&older", Command::AddFolder},
    {"&Remove\tDel", Command::Remove},
    {"Remove Al&l", Command::RemoveAll},
};

constexpr MenuItem kHelpMenu[] = {
    {"&Help Topics\tF1", Command::HelpTopics},
    kSeparator,
    {"&Tell A Friend", Command::TellAFriend},
    {"&Feedback and Support", Command::FeedbackAndSupport},
    {"Home&page", Command::Homepage},
    {"&Check Latest Version", Command::CheckLatestVersion},
    kSeparator,
    {"&About...", Command::About},
};

template <size_t N>
void Fill(QMenu& menu, const MenuItem (&items)[N], const ListState* state,
          const CommandRunner& run) {
  for (const MenuItem& item : items) {
    if (item.text == nullptr) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(Tr(item.text));
    const Command command = item.command;
    action->setEnabled(state == nullptr || MenuItemEnabled(command, *state));
    QObject::connect(action, &QAction::triggered, &menu, [run, command] { run(command); });
  }
}

}  // namespace

bool MenuItemEnabled(Command command, const ListState& state) {
  switch (command) {
    case Command::Remove:
    case Command::ConvertSelected:
    case Command::ConvertSelectedToOne:
      return state.selected >= 1;
    case Command::RemoveAll:
    case Command::ConvertAll:
    case Command::ConvertAllToOne:
      return state.rows > 0;
    case Command::PlaySource:
    case Command::BrowseSourceFolder:
      return state.selected == 1;
    case Command::PlayDestination:
    case Command::BrowseDestinationFolder:
      return state.selected == 1 && state.selectedHasOutput;
    default:
      return true;
  }
}

void FillListMenu(QMenu& menu, const ListState& state, const CommandRunner& run) {
  Fill(menu, kListMenu, &state, run);
}

void FillHelpMenu(QMenu& menu, const CommandRunner& run) { Fill(menu, kHelpMenu, nullptr, run); }

}  // namespace quillo
