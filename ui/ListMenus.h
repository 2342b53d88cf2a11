#pragma once

#include <functional>

class QMenu;

namespace quillo {

// The window's commands, as its buttons, menus and keys run them.
enum class Command {
  PlaySource,
  PlayDestination,
  ConvertSelected,
  ConvertAll,
  ConvertSelectedToOne,
  ConvertAllToOne,
  BrowseSourceFolder,
  BrowseDestinationFolder,
  AddFiles,
  AddFolder,
  Remove,
  RemoveAll,
  Options,
  HelpTopics,
  TellAFriend,
  FeedbackAndSupport,
  Homepage,
  CheckLatestVersion,
  About,
};

// What the menu items' enabling depends on.
struct ListState {
  int rows = 0;
  int selected = 0;
  bool selectedHasOutput = false;  // the one selected row has an output
};

// Whether a menu item of the command is enabled. Buttons and keys are always
// enabled: the commands check their own conditions and say what is missing.
bool MenuItemEnabled(Command command, const ListState& state);

using CommandRunner = std::function<void(Command)>;

// The list's context menu, its items enabled for `state`.
void FillListMenu(QMenu& menu, const ListState& state, const CommandRunner& run);
// The help button's menu.
void FillHelpMenu(QMenu& menu, const CommandRunner& run);

}  // namespace quillo
