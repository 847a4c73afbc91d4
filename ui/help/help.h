#pragma once
// Opening the calculator's compiled help in the built-in viewer.

#include <QPointer>
#include <QString>

#include "ui/common/services.h"

class QWidget;

namespace tallix::ui {

class HelpViewer;

// Shows `chmPath` at help context `context` in the one viewer window and
// returns at once. The first request opens it beside the asking window; it
// is freed when the user closes it. A request while it is open brings that
// same window forward at the new topic, where the user left it, instead of
// stacking another. With an owner the viewer belongs to that window; with
// nullptr it stands on its own. A missing, damaged or topic-less file shows
// the viewer's own message; nothing else in the program changes.
class ViewerHelpOpener final : public HelpOpener {
 public:
  void open(const QString& chmPath, int context, QWidget* owner) override;

 private:
  QPointer<HelpViewer> viewer_;
};

}  // namespace tallix::ui
