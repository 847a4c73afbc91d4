#include "ui/common/application.h"

#include <new>
#include <string>

#include "engine/error.h"
#include "display/report.h"
#include "ui/common/qt_host.h"
#include "ui/common/toolkit_language.h"

namespace tallix::ui {

TallixApplication::TallixApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TallixApplication* TallixApplication::instance() {
  return qobject_cast<TallixApplication*>(QCoreApplication::instance());
}

bool TallixApplication::notify(QObject* receiver, QEvent* event) {
  // Qt's own menus (the display line's, the description's) speak French;
  // the translation loads with the first of them, not at start-up.
  if (event->type() == QEvent::ContextMenu) installFrenchToolkitTexts();
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    reportCurrentException();
    return true;
  }
}

bool TallixApplication::HelpCommand(quint16 command, qint32 data) {
  if (!helpHandler_) return false;
  bool callHelp = true;
  return helpHandler_(command, data, callHelp);
}

void reportCurrentException() {
  std::string message;
  try {
    throw;
  } catch (const CalcError& error) {
    message = error.message();
  } catch (const std::bad_alloc&) {
    message = CalcError::ofKind(ErrorKind::EOutOfMemory).message();
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
    message = "Exception inconnue";
  }
  try {
    QtHost::showMessageBox(applicationErrorReport(message));
  } catch (...) {
    // A report that cannot be shown is dropped; the loop must go on.
  }
}

}  // namespace tallix::ui
