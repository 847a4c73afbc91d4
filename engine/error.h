#pragma once
// The calculator's one error type: a kind and its exact French message.

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace tallix {

// Underflow has no kind: it is masked, and a result too small to hold reads
// and computes as zero or a subnormal number, without a fault.
enum class ErrorKind {
  Exception,      // clipboard cannot be opened: "Impossible d'ouvrir le Presse-papiers"
  EConvertError,  // display text is not a number when an operator or toggle reads it
  EZeroDivide,    // floating-point division by zero (0 x^y -2, reciprocal of an underflowed power)
  EOverflow,      // a result beyond 1.18973e4932 (square of 1e2467, 1e4932 % 50)
  EInvalidOp,     // square root of a negative number, log of a negative base; caught by Operation
  EOutOfMemory,   // memory exhausted anywhere
};

// "EConvertError", "EZeroDivide", ... as the fatal report names the kind.
std::string_view kindName(ErrorKind kind);

class CalcError : public std::exception {
 public:
  CalcError(ErrorKind kind, std::string message);

  // The error of a fixed-message kind (every kind but EConvertError):
  // ofKind(ErrorKind::EOverflow).message() == "Débordement en virgule flottante".
  static CalcError ofKind(ErrorKind kind);
  // The reading error quoting the whole text, blanks included:
  // conversion("abc") -> "'abc' n'est pas une valeur en virgule flottante correcte".
  static CalcError conversion(std::string_view text);

  ErrorKind kind() const noexcept { return kind_; }
  const std::string& message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // Hands the message over, leaving it empty: for the one report of the error.
  std::string takeMessage() && noexcept { return std::move(message_); }

 private:
  ErrorKind kind_;
  std::string message_;
};

}  // namespace tallix
