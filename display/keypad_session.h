#pragma once
// A session of key presses: the whole calculator without a window. It holds
// the display line and the sequencer, and runs the editing buttons, the
// decimal-mode group, the key table and the clipboard commands. The Qt
// window, tallix-keys and the tests all drive it through the same entry
// points: press, typeKey, paste, copy, changeRegionalSettings.

#include <string>

#include "display/controls.h"
#include "display/display_line.h"
#include "display/host.h"
#include "engine/regional.h"
#include "engine/sequencer.h"

namespace tallix {

class KeypadSession : private SequencerContext {
 public:
  // The display starts as "0" (RazEcran), all-decimals mode, with the
  // separators of `regional`; FSeparateur is taken from them here.
  KeypadSession(Host& host, Separateurs regional);
  KeypadSession(const KeypadSession&) = delete;
  KeypadSession& operator=(const KeypadSession&) = delete;

  // One click of a control. Every error that escapes the handler is shown
  // through the host as the application error report; returns normally.
  // press(AdditionButton) on the text "abc" shows "'abc' n'est pas une
  // valeur en virgule flottante correcte." captioned "Tallix Standart".
  void press(Control control);
  // A typed character through the key table; unknown characters do nothing.
  // typeKey(U'.') inserts FSeparateur whatever it is.
  void typeKey(char32_t typed);
  // Clipboard commands ("Copier", "Coller"); errors reported like press().
  // The pasted text is taken unchecked, only ill-formed UTF-8 becomes U+FFFD.
  void copy();
  void paste();
  // A regional-settings change: conversions and FSeparateur follow it, so
  // the separator key keeps inserting the character the reading accepts
  // and the all-decimals trimming removes the one the texts carry.
  void changeRegionalSettings(Separateurs regional);

  const std::string& displayText() const { return display_.text(); }
  std::size_t caret() const { return display_.caret(); }
  DecimalMode decimalMode() const { return mode_; }
  const Sequencer& sequencer() const { return sequencer_; }
  Separateurs separateurs() const { return regional_; }
  // FSeparateur, the window's copy of the decimal separator taken at its
  // creation: what the separator key inserts, the constants carry and the
  // all-decimals trimming removes. It follows every settings change
  // together with the conversions, so it never parts from
  // regional_.decimal, which holds it: one field, not two to keep equal.
  char32_t fSeparateur() const override { return regional_.decimal; }

 private:
  // What the engine sees of the window.
  const std::string& screenText() const override { return display_.text(); }
  void replaceScreenText(std::string text) override { display_.replace(std::move(text)); }
  DecimalMode screenMode() const override { return mode_; }
  char32_t decimalSeparator() const override { return regional_.decimal; }
  void showInvalidInputBox() override;

  // The click itself; a CalcError escapes to press().
  void click(Control control);

  // Editing rules of the display line.
  void RazEcran();
  void ViderEcran();
  void EcranChange();
  void PaveNumerique(Control digit);
  void VirguleButtonClick();
  void ButtonNegClick();
  void RetourArriere();
  void showConstant(const char* whole, const char* two, const char* four, const char* all);
  void chooseMode(DecimalMode mode);
  template <class Action>
  void reportErrors(Action&& action);

  Host& host_;
  int changeDepth_ = 0;  // nesting of the change rule; the host hears the outermost end
  Separateurs regional_;  // SeparateurDecimal (FSeparateur too) and SeparateurMilliers
  DecimalMode mode_ = DecimalMode::Toutes;
  DisplayLine display_;
  Sequencer sequencer_;
};

}  // namespace tallix
