#pragma once

#include <cstdint>
#include <optional>

#include "base/value_types.h"

namespace tamrivo {

// An amount typed as decimal text ("385.5", "-20", " 0.125 ") in whole fen, rounded half away
// from zero from the digits themselves, so "385.505" is 38551 fen whatever binary floating
// point would make of it. Nothing for an empty text, for anything but one optional sign, digits
// and one optional point, or for an amount past a billion yuan.
std::optional<std::int64_t> fenFromText(const Text& text);

// Fen as the yuan the records store.
double yuanOfFen(std::int64_t fen);

// Money as the lease window stores a deposit or rent: single precision, then rounded half
// away from zero to the places.
double moneyFromText(const Text& text, int places);

}  // namespace tamrivo
