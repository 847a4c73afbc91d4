#pragma once
// The application object: the one event loop's error net and the
// application-wide help handler.

#include <exception>
#include <functional>

#include <QApplication>

namespace tallix::ui {

class TallixApplication : public QApplication {
  Q_OBJECT
 public:
  TallixApplication(int& argc, char** argv);

  // Delivers the event; an error escaping its handling is shown by the
  // application error report and the loop goes on with the next event.
  bool notify(QObject* receiver, QEvent* event) override;

  // The application's help handler: command, data and the call-help flag
  // (in and out); returns true when the request was handled.
  using HelpHandler = std::function<bool(quint16 command, qint32 data, bool& callHelp)>;
  void setHelpHandler(HelpHandler handler) { helpHandler_ = std::move(handler); }
  // Offers a help request to the help handler; false when none handled it.
  bool HelpCommand(quint16 command, qint32 data);

  static TallixApplication* instance();

 private:
  HelpHandler helpHandler_;
};

// The application error report of the exception being handled (call it from
// a catch block): a CalcError shows its own message, memory exhaustion
// "Mémoire insuffisante", any other std::exception its what().
void reportCurrentException();

// Runs `action`, reporting any error that escapes it: the boundary of every
// handler that Qt calls.
template <class Action>
void reportErrors(Action&& action) noexcept {
  try {
    action();
  } catch (...) {
    reportCurrentException();
  }
}

}  // namespace tallix::ui
