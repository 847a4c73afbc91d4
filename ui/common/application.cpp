#include "ui/common/application.h"

#include <QAbstractButton>

#include "display/report.h"
#include "ui/common/toolkit_language.h"

namespace tallix::ui {

TallixApplication::TallixApplication(int& argc, char** argv, Host& reports)
    : QApplication(argc, argv), reports_(reports) {}

bool TallixApplication::notify(QObject* receiver, QEvent* event) {
  // Qt's own menus (the display line's, the description's) and the report
  // text's, captioned from them, speak French;
  // the translation loads with the first of them, not at start-up.
  if (event->type() == QEvent::ContextMenu) installFrenchToolkitTexts();
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    reportCurrentException(reports_);
    return true;
  }
}

namespace {

void cancelMouseModes() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  for (QWidget* widget : QApplication::allWidgets()) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button != nullptr && button->isDown()) {
      button->setDown(false);
    }
  }
}

}  // namespace

void showThrough(Host& host, const Message& message) {
  if (message.icon == MessageIcon::Stop && !message.taskModal) cancelMouseModes();
  host.showMessage(message);
}

void reportCurrentException(Host& host) noexcept {
  try {
    cancelMouseModes();
  } catch (...) {
    // Nothing held down to release; the report matters more.
  }
  reportCurrentError(host);
}

}  // namespace tallix::ui
