#pragma once
// The texts of the three reports, composed in one place for every front end.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/error.h"
#include "display/host.h"

namespace tallix {

inline constexpr std::string_view kApplicationTitle = "Tallix Standart";
inline constexpr std::string_view kWindowCaption = "Duvuroreza";
inline constexpr std::string_view kFatalCaption = "Erreur d'application";

// The invalid-input box: "Entrée de la fonction incorrecte", caption
// "Duvuroreza", warning icon, no point appended.
Message invalidInputBox();

// The error being handled (call it from a catch block) as the reports name
// it: a CalcError gives its kind's name and its message, memory exhaustion
// {"EOutOfMemory", "Mémoire insuffisante"}, any other std::exception
// {"Exception", what()}, anything else {"Exception", "Exception inconnue"}.
// A CalcError's message is taken over, not copied (a conversion error may
// quote a 10 MB paste): the error is reported once and then dropped.
struct Failure {
  std::string kind;
  std::string message;
};
Failure describeCurrentException();

// Appends "." when the message is not empty and its last byte, compared
// unsigned, is above '.' (0x2E): "abc" -> "abc.", "x)" -> "x)", "é" -> "é.".
std::string withReportPoint(std::string_view message);

// The application error report: the message with its point, caption
// "Tallix Standart", stop icon.
Message applicationErrorReport(std::string_view message);
Message applicationErrorReport(const CalcError& error);

// The one path of every error that leaves a handler: call it inside a catch
// block. It shows the application error report of the error being handled
// through `host` (the message as describeCurrentException gives it, with
// its point). An error raised while that report is built or shown (memory
// running out again, a host that fails) is reported the same way, in a
// further box; memory exhaustion always shows "Mémoire insuffisante." from
// a report built in advance. After kReportAttempts boxes tried it gives up.
// It always returns, so the caller's loop goes on.
inline constexpr int kReportAttempts = 4;
void reportCurrentError(Host& host) noexcept;

// The fatal report: "Exception %s dans le module %s dans %08X.\r\n%s%s\r\n"
// with a "." ending unless the message already ends in "." (text cut at 1023
// bytes), caption "Erreur d'application", stop icon, task-modal.
Message fatalErrorReport(std::string_view kindName, std::string_view module,
                         std::uintptr_t offset, std::string_view message);

}  // namespace tallix
