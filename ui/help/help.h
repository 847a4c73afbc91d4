#pragma once
// Opening the calculator's compiled help in the built-in viewer.

#include <QString>

#include "ui/common/services.h"

class QWidget;

namespace tallix::ui {

// Opens a new viewer window on `chmPath` at help context `context` and
// returns at once: beside the asking window, freed when the user closes it.
// With an owner the viewer belongs to that window; with nullptr it stands on
// its own. A missing file or topic shows the viewer's own message; nothing
// else in the program changes.
class ViewerHelpOpener final : public HelpOpener {
 public:
  void open(const QString& chmPath, int context, QWidget* owner) override;
};

}  // namespace tallix::ui
