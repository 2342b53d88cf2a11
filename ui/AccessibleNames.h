#pragma once

class QLabel;
class QWidget;

namespace quillo {

// What a screen reader hears. Qt names a button by its text and a field by
// its buddy label, but not everything: a drop-down list is named by the
// entry it shows, a control that is only an arrow or a "?" has no name, a
// field labelled by a check box beside it has none, and a window that is a
// plain widget is not announced as a dialog. These fill the gaps from the
// words the user sees on screen, so translated labels give translated names.

// Lets drop-down lists be named by their label and progress dialogs read as
// dialogs. Called before the first control is made; doing it again is
// harmless.
void InstallAccessibility();

// Names `control` after the text of `label` (a label, a check box or a radio
// in front of it) without its mnemonic, and gives it `description`'s text,
// where there is one, as its description (the unit or note beside it).
void NameAfter(QWidget* control, const QWidget* label, const QLabel* description = nullptr);

// Names every control below `root` that has no name of its own yet: after
// the label whose buddy it is, after its tool tip when its text is not words
// (a "?" button), after its arrow; the parts of a compound control (the edit
// of a number field, the edit and list of a drop-down) after the whole.
void NameControls(QWidget* root);

}  // namespace quillo
