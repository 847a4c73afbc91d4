#pragma once
// The sequencer: the calculator's memory and the one sequence of steps every
// operator button and "=" share. Immediate execution, strictly left to
// right, no precedence: 2 + 3 x 4 = shows 2, 2, 3, 5, 4, 20.

#include <string>

#include "engine/extended.h"

namespace tallix {

// What the sequencer needs from its window: the display line, the decimal
// mode, the separators and the invalid-input box.
class SequencerContext {
 public:
  virtual ~SequencerContext() = default;
  virtual const std::string& screenText() const = 0;
  // Replaces the display text; the change rule runs before this returns.
  virtual void replaceScreenText(std::string text) = 0;
  virtual DecimalMode screenMode() const = 0;
  virtual char32_t decimalSeparator() const = 0;  // what the conversions accept and write
  virtual char32_t fSeparateur() const = 0;       // what the all-decimals trimming removes
  // Shows the invalid-input box and returns once the user has closed it.
  virtual void showInvalidInputBox() = 0;
};

class Sequencer {
 public:
  // The operator codes, their one statement: the Tag of each operator
  // button (display/controls.cpp maps the buttons to them) and FOperateur.
  enum Code : int {
    Egal = 0, Addition = 1, Soustraction = 2, Multiplication = 3, Division = 4,
    Pourcentage = 5, Racine = 6, Carre = 7, Puissance = 8,
  };

  // One press of an operator button (its code) or of "=" (equals true,
  // code Egal). Catches only EInvalidOp (shows the invalid-input box, then
  // resets); every other CalcError leaves the state as far as it got.
  void Operation(Code code, bool equals, SequencerContext& ctx);
  // "C": FResultat := 0, clear, display "0".
  void RemiseAZeroTotale(SequencerContext& ctx);
  // A decimal-mode toggle click: re-shows FResultat when non-zero, else the
  // display's own value, in the (already changed) mode.
  void AfficheResultat(SequencerContext& ctx);
  // Writes v into the display in the current decimal mode.
  void AffichageResultat(Extended v, SequencerContext& ctx);
  // Operands, flags and operator to zero; FResultat stays.
  void RazVariables();
  // The invalid-input box, then FResultat := 0, RazVariables and a display
  // to be replaced by the next digit; the display text stays.
  void Erreur1(SequencerContext& ctx);

  bool ecranAVider() const { return FEcranAVider; }
  void setEcranAVider(bool value) { FEcranAVider = value; }

  Extended nombre1() const { return FNombre1; }
  Extended nombre2() const { return FNombre2; }
  Extended resultat() const { return FResultat; }
  bool nombre1Saisi() const { return FNombre1Saisi; }
  bool nombre2Saisi() const { return FNombre2Saisi; }
  int operateur() const { return FOperateur; }

 private:
  Extended FNombre1 = 0;
  Extended FNombre2 = 0;
  Extended FResultat = 0;
  bool FNombre1Saisi = false;
  bool FNombre2Saisi = false;
  bool FEcranAVider = false;
  int FOperateur = 0;
};

}  // namespace tallix
