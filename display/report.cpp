// The texts of the three reports.
#include "display/report.h"

#include <cstdio>
#include <exception>
#include <new>
#include <utility>

namespace tallix {

namespace {

// Longest prefix of `text` of at most `limit` bytes that does not end inside
// a UTF-8 sequence: the cut never leaves half a character behind.
std::string_view cutAtCharacter(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the
  // character the limit falls into, and cut before it.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

void appendReportPoint(std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > 0x2E) text += '.';
}

// Built before anything runs out: showing it asks no memory of this program.
const Message kOutOfMemoryReport = applicationErrorReport(CalcError::ofKind(ErrorKind::EOutOfMemory));

// Shows the report of `error`; lets through whatever building or showing it
// throws.
void showReport(Host& host, const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    host.showMessage(kOutOfMemoryReport);
  } catch (...) {
    Failure failure = describeCurrentException();
    appendReportPoint(failure.message);
    host.showMessage(
        Message{std::string(kApplicationTitle), std::move(failure.message), MessageIcon::Stop, false});
  }
}

}  // namespace

void reportCurrentError(Host& host) noexcept {
  std::exception_ptr error = std::current_exception();
  for (int attempt = 0; attempt < kReportAttempts && error; ++attempt) {
    try {
      showReport(host, error);
      return;
    } catch (...) {
      error = std::current_exception();
    }
  }
}

Failure describeCurrentException() {
  try {
    throw;
  } catch (CalcError& error) {
    return {std::string(kindName(error.kind())), std::move(error).takeMessage()};
  } catch (const std::bad_alloc&) {
    const CalcError error = CalcError::ofKind(ErrorKind::EOutOfMemory);
    return {std::string(kindName(error.kind())), error.message()};
  } catch (const std::exception& error) {
    return {"Exception", error.what()};
  } catch (...) {
    return {"Exception", "Exception inconnue"};
  }
}

Message invalidInputBox() {
  return Message{std::string(kWindowCaption), "Entrée de la fonction incorrecte",
                 MessageIcon::Warning, false};
}

std::string withReportPoint(std::string_view message) {
  std::string text(message);
  appendReportPoint(text);
  return text;
}

Message applicationErrorReport(std::string_view message) {
  return Message{std::string(kApplicationTitle), withReportPoint(message), MessageIcon::Stop,
                 false};
}

Message applicationErrorReport(const CalcError& error) {
  return applicationErrorReport(error.message());
}

Message fatalErrorReport(std::string_view kindName, std::string_view module,
                         std::uintptr_t offset, std::string_view message) {
  module = cutAtCharacter(module, 260);
  // At least 8 upper-case hex digits; a wider offset is written whole.
  char address[24];
  std::snprintf(address, sizeof address, "%08llX",
                static_cast<unsigned long long>(offset));
  std::string text;
  text.reserve(64 + kindName.size() + module.size() + message.size());
  text += "Exception ";
  text += kindName;
  text += " dans le module ";
  text += module;
  text += " dans ";
  text += address;
  text += ".\r\n";
  text += message;
  if (!message.empty() && message.back() != '.') text += '.';
  text += "\r\n";
  text = std::string(cutAtCharacter(text, 1023));
  return Message{std::string(cutAtCharacter(kFatalCaption, 63)), std::move(text),
                 MessageIcon::Stop, true};
}

}  // namespace tallix
