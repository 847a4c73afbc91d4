#pragma once
// The application object, the one event loop's error net, and the error
// boundary of every handler Qt calls.

#include <QApplication>

#include "display/host.h"

namespace tallix::ui {

class TallixApplication : public QApplication {
  Q_OBJECT
 public:
  // `reports` shows the application error report of an error that escapes
  // the handling of an event.
  TallixApplication(int& argc, char** argv, Host& reports);

  // Delivers the event; an error escaping its handling is shown by the
  // application error report and the loop goes on with the next event.
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Host& reports_;
};

// Shows `message` through `host`. An application error report (stop icon,
// not task-modal) first cancels the mouse's current mode: a grab ends and a
// button held down goes up without a click, so releasing the mouse over it
// later does nothing.
void showThrough(Host& host, const Message& message);

// The application error report of the exception being handled (call it from
// a catch block), shown through `host` after the mouse's mode is cancelled:
// "Débordement en virgule flottante." for an overflow. It takes the one
// report path of every front end: memory running out, also while the
// report is built or shown, ends in "Mémoire insuffisante.".
void reportCurrentException(Host& host) noexcept;

// Runs `action`, reporting any error that escapes it through `host`: the
// boundary of every handler that Qt calls.
template <class Action>
void reportErrors(Host& host, Action&& action) noexcept {
  try {
    action();
  } catch (...) {
    reportCurrentException(host);
  }
}

}  // namespace tallix::ui
