// The sequencer shared by every operator button and "=".
#include "engine/sequencer.h"

#include "engine/arithmetic.h"
#include "engine/conversion.h"
#include "engine/error.h"

namespace tallix {

namespace {

Extended readScreen(const SequencerContext& ctx) {
  return TexteEnNombre(ctx.screenText(), ctx.decimalSeparator());
}

}  // namespace

void Sequencer::Operation(Code code, bool equals, SequencerContext& ctx) {
  // Set first, so that even a press whose reading fails leaves the display
  // to be replaced by the next digit.
  FEcranAVider = true;

  // Reading the display: a text that is not a number throws before either
  // the operand or its flag changes.
  if (FNombre1Saisi) {
    FNombre2 = readScreen(ctx);
    FNombre2Saisi = true;
  } else {
    FNombre1 = readScreen(ctx);
    FNombre1Saisi = true;
    FOperateur = code;
  }

  if (FOperateur == Egal) {
    FResultat = NeRienCalculer(FNombre1, FNombre2);
    AffichageResultat(FResultat, ctx);
  }
  if (FOperateur == Racine || FOperateur == Carre) FNombre2Saisi = true;

  int pendingBefore = FOperateur;
  if (code == Pourcentage) {
    FOperateur = Pourcentage;
    if (FNombre2 == 0) {
      RazVariables();
      FResultat = 0;
      AffichageResultat(FResultat, ctx);
      return;
    }
  }

  try {
    if (!FNombre2Saisi) return;

    switch (FOperateur) {
      case Egal: break;  // FResultat already holds NeRienCalculer's value
      case Addition: FResultat = Additionner(FNombre1, FNombre2); break;
      case Soustraction: FResultat = Soustraire(FNombre1, FNombre2); break;
      case Multiplication: FResultat = Multiplier(FNombre1, FNombre2); break;
      case Division: FResultat = Diviser(FNombre1, FNombre2); break;
      case Pourcentage:
        FResultat = PourcentageValeur(FNombre1, FNombre2);
        AffichageResultat(FResultat, ctx);
        break;
      case Racine: FResultat = RacineCarree(FNombre1, FNombre2); break;
      case Carre: FResultat = PuissanceCarree(FNombre1, FNombre2); break;
      case Puissance: FResultat = XPowerY(FNombre1, FNombre2); break;
      default: break;
    }

    FOperateur = code;
    if (FOperateur == Pourcentage) {
      // The percentage becomes the second operand of the operation that was
      // pending before it, which stays pending.
      FNombre2 = FResultat;
      FOperateur = pendingBefore;
    } else {
      FNombre1 = FResultat;
    }
    FNombre2Saisi = false;
    if (FOperateur != Pourcentage) AffichageResultat(FResultat, ctx);
    if (equals || FOperateur == Racine || FOperateur == Carre) RazVariables();
  } catch (const CalcError& error) {
    if (error.kind() != ErrorKind::EInvalidOp) throw;
    Erreur1(ctx);
  }
}

void Sequencer::Erreur1(SequencerContext& ctx) {
  // The box comes first; the state is cleared once the user has closed it.
  ctx.showInvalidInputBox();
  FResultat = 0;
  RazVariables();
  FEcranAVider = true;
}

void Sequencer::RemiseAZeroTotale(SequencerContext& ctx) {
  FResultat = 0;
  RazVariables();
  ctx.replaceScreenText("0");
}

void Sequencer::AfficheResultat(SequencerContext& ctx) {
  if (FResultat != 0) {
    AffichageResultat(FResultat, ctx);
  } else {
    AffichageResultat(readScreen(ctx), ctx);
  }
}

void Sequencer::AffichageResultat(Extended v, SequencerContext& ctx) {
  ctx.replaceScreenText(TexteResultat(v, ctx.screenMode(), ctx.decimalSeparator(), ctx.fSeparateur()));
}

void Sequencer::RazVariables() {
  FNombre1 = 0;
  FNombre2 = 0;
  FNombre1Saisi = false;
  FNombre2Saisi = false;
  FOperateur = Egal;
}

}  // namespace tallix
