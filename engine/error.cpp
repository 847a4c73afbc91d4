// The error kinds and their fixed French messages.
#include "engine/error.h"

#include <utility>

namespace tallix {

namespace {

// The message each fixed-message kind carries. EConvertError has none of its
// own: it always quotes the text that failed to read.
std::string_view fixedMessage(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Exception: return "Impossible d'ouvrir le Presse-papiers";
    case ErrorKind::EConvertError: return "";
    case ErrorKind::EZeroDivide: return "Division par zéro en virgule flottante";
    case ErrorKind::EOverflow: return "Débordement en virgule flottante";
    case ErrorKind::EInvalidOp: return "Opération en virgule flottante incorrecte";
    case ErrorKind::EOutOfMemory: return "Mémoire insuffisante";
  }
  return "";
}

}  // namespace

std::string_view kindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Exception: return "Exception";
    case ErrorKind::EConvertError: return "EConvertError";
    case ErrorKind::EZeroDivide: return "EZeroDivide";
    case ErrorKind::EOverflow: return "EOverflow";
    case ErrorKind::EInvalidOp: return "EInvalidOp";
    case ErrorKind::EOutOfMemory: return "EOutOfMemory";
  }
  return "Exception";
}

CalcError::CalcError(ErrorKind kind, std::string message)
    : kind_(kind), message_(std::move(message)) {}

CalcError CalcError::ofKind(ErrorKind kind) {
  return CalcError(kind, std::string(fixedMessage(kind)));
}

CalcError CalcError::conversion(std::string_view text) {
  std::string message;
  message.reserve(text.size() + 64);
  message += '\'';
  message += text;
  message += "' n'est pas une valeur en virgule flottante correcte";
  return CalcError(ErrorKind::EConvertError, std::move(message));
}

}  // namespace tallix
