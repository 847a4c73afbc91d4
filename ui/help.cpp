#include "ui/help.h"

#include <QWidget>

#include "ui/help_viewer.h"

namespace tallix::ui {

namespace {

// The default: a new viewer window each time, freed when the user closes it.
void openViewer(const QString& chmPath, int context, QWidget* owner) {
  auto* viewer = new HelpViewer(owner);
  viewer->setAttribute(Qt::WA_DeleteOnClose);
  viewer->open(chmPath, context);
  viewer->show();
}

HelpOpener& currentOpener() {
  static HelpOpener opener = openViewer;
  return opener;
}

}  // namespace

void openHelp(const QString& chmPath, int context, QWidget* owner) { currentOpener()(chmPath, context, owner); }

HelpOpener setHelpOpener(HelpOpener opener) {
  if (!opener) opener = openViewer;
  HelpOpener previous = std::move(currentOpener());
  currentOpener() = std::move(opener);
  return previous;
}

}  // namespace tallix::ui
