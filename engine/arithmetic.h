#pragma once
// The nine computations behind the operator codes, in full extended
// precision with round to nearest. Each runs with clear floating-point status
// flags and tests them after every step: invalid operation, division by zero
// and overflow throw CalcError of kind EInvalidOp, EZeroDivide, EOverflow and
// leave the flags clear again; underflow and inexact results pass silently.
// No trap is ever unmasked.

#include "engine/extended.h"

namespace tallix {

Extended NeRienCalculer(Extended a, Extended b);   // b if b != 0, else a
Extended Additionner(Extended a, Extended b);
Extended Soustraire(Extended a, Extended b);
Extended Multiplier(Extended a, Extended b);
Extended Diviser(Extended a, Extended b);          // 0 when a or b is 0
Extended PourcentageValeur(Extended a, Extended b); // (a * b) / 100: the product may overflow
Extended RacineCarree(Extended a, Extended b);     // b ignored
Extended PuissanceCarree(Extended a, Extended b);  // a * a, b ignored
Extended XPowerY(Extended a, Extended b);          // the power rule: 2 x^y 10 == 1024

}  // namespace tallix
