#pragma once

#include <optional>

#include "base/value_types.h"

namespace tamrivo {

// An amount of yuan in the capital numerals receipts carry (人民币大写), rounded to the fen:
// 385.5 as 叁佰捌拾伍元伍角整, 0 as 零元整, 0.05 as 伍分, 100010000 as 壹亿零壹万元整.
// Nothing for a negative amount, one that is not a number, or one of a million 亿 or more.
std::optional<Text> amountInCapitals(double yuan);

}  // namespace tamrivo
