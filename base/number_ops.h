#pragma once

namespace tamrivo {

// Rounds half away from zero to the given number of decimal places (negative places round to
// tens, hundreds, ...). A tiny nudge (1e-12 of the last place) lets values such as 2.345, held
// in binary just below the half, round up as written. A result of zero is always +0.
double roundNumber(double value, int places = 0);

}  // namespace tamrivo
