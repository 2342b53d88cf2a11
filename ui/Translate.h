#pragma once

#include <QCoreApplication>
#include <QString>

namespace quillo {

// The window's own texts (labels, buttons, menus, titles, tool tips, the
// messages it composes) are looked up in the desktop's language. They share
// one context, so that a catalogue holds each English text once; the
// engine's texts and the cells it fills stay as they are.
inline QString Tr(const char* text) { return QCoreApplication::translate("Quillo", text); }

}  // namespace quillo
