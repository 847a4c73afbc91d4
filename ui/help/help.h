#pragma once
// Opening the calculator's compiled help at a context number.

#include <functional>

#include <QString>

class QWidget;

namespace tallix::ui {

// Opens the built-in viewer on `chmPath` at help context `context` and
// returns at once. With an owner the viewer belongs to that window; with
// nullptr it stands on its own. A missing file or topic shows the viewer's
// own message; nothing else in the program changes.
void openHelp(const QString& chmPath, int context, QWidget* owner);

// Test hook: replaces what openHelp() does; returns the previous opener. An
// empty opener puts the built-in viewer back.
using HelpOpener = std::function<void(const QString& chmPath, int context, QWidget* owner)>;
HelpOpener setHelpOpener(HelpOpener opener);

}  // namespace tallix::ui
