#pragma once
// The whole calculator without a window: the display line, the engine, the
// editing buttons, the decimal-mode group, the key table and the clipboard
// commands. The Qt window, tallix-keys and the tests all drive it through
// the same entry points: press, typeKey, paste, copy, changerReglagesRegionaux.

#include <string>

#include "display/controls.h"
#include "display/display_line.h"
#include "engine/sequencer.h"
#include "display/host.h"
#include "engine/regional.h"

namespace tallix {

class Calculette : private CalculatorContext {
 public:
  // The display starts as "0" (RazEcran), all-decimals mode, FSeparateur
  // taken from `regional`.
  Calculette(Host& host, Separateurs regional);
  Calculette(const Calculette&) = delete;
  Calculette& operator=(const Calculette&) = delete;

  // One click of a control. Every error that escapes the handler is shown
  // through the host as the application error report; returns normally.
  // press(AdditionButton) on the text "abc" shows "'abc' n'est pas une
  // valeur en virgule flottante correcte." captioned "Tallix Standart".
  void press(Control control);
  // The same click, letting a CalcError escape (the window's own boundary
  // and the tests use it).
  void click(Control control);
  // A typed character through the key table; unknown characters do nothing.
  // typeKey(U'.') inserts FSeparateur whatever it is.
  void typeKey(char32_t typed);
  // Clipboard commands ("Copier", "Coller"); errors reported like press().
  // The pasted text is taken unchecked, only ill-formed UTF-8 becomes U+FFFD.
  void copy();
  void paste();
  // A regional-settings change: conversions and FSeparateur follow it, so
  // the separator key keeps inserting the character the reading accepts.
  void changerReglagesRegionaux(Separateurs regional);

  const std::string& displayText() const { return ecran_.text(); }
  std::size_t caret() const { return ecran_.caret(); }
  DecimalMode decimalMode() const { return mode_; }
  const Calculator& calculator() const { return calc_; }
  Separateurs separateurs() const { return regional_; }
  char32_t fSeparateur() const override { return FSeparateur; }

 private:
  // What the engine sees of the window.
  const std::string& texteEcran() const override { return ecran_.text(); }
  void remplacerTexteEcran(std::string texte) override { ecran_.replace(std::move(texte)); }
  DecimalMode modeDecimal() const override { return mode_; }
  char32_t separateurDecimal() const override { return regional_.decimal; }
  void showInvalidInputBox() override;

  // Editing rules of the display line.
  void RazEcran();
  void ViderEcran();
  void EcranChange();
  void PaveNumerique(Control digit);
  void VirguleButtonClick();
  void ButtonNegClick();
  void RetourArriere();
  void afficherConstante(const char* entier, const char* deux, const char* quatre,
                         const char* toutes);
  void choisirMode(DecimalMode mode);
  template <class Action>
  void reportErrors(Action&& action);

  Host& host_;
  int changeDepth_ = 0;  // nesting of the change rule; the host hears the outermost end
  Separateurs regional_;
  char32_t FSeparateur;
  DecimalMode mode_ = DecimalMode::Toutes;
  DisplayLine ecran_;
  Calculator calc_;
};

}  // namespace tallix
