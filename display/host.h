#pragma once
// The only door from the calculator's logic to the outside world: modal
// message boxes, the clipboard and a mirror of the display line. The Qt
// window, the recording host of the tests and tallix-keys implement it.

#include <string>
#include <string_view>

#include "engine/extended.h"

namespace tallix {

enum class MessageIcon { Warning, Stop };

// One message box with a single "OK" button.
struct Message {
  std::string caption;
  std::string text;          // UTF-8; may hold "\r\n"
  MessageIcon icon = MessageIcon::Stop;
  bool taskModal = false;    // the fatal report: no owner, blocks the whole program
  bool operator==(const Message&) const = default;
};

class Host {
 public:
  virtual ~Host() = default;
  // Shows the box modally and returns once the user has closed it.
  virtual void showMessage(const Message& message) = 0;
  // The clipboard's text, or "" when it holds no text. Throws
  // CalcError::ofKind(ErrorKind::Exception) ("Impossible d'ouvrir le
  // Presse-papiers") when the clipboard cannot be used.
  virtual std::string clipboardText() = 0;
  // Same failure as clipboardText().
  virtual void setClipboardText(std::string_view text) = 0;
  // Called synchronously after every actual change of the display text,
  // including nested changes made by the change rule.
  virtual void displayChanged(std::string_view /*text*/) {}
  // Called after the decimal-mode toggle group changed its down button.
  virtual void decimalModeChanged(DecimalMode /*mode*/) {}
};

}  // namespace tallix
