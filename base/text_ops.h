#pragma once

#include <cstdint>
#include <string_view>

#include "base/value_types.h"

namespace tamrivo {

// Positions are 1-based and, like lengths, count bytes; a double-byte character counts 2.

int textLength(std::string_view text);

// The first / last min(count, length) bytes; count <= 0 gives the empty text. These cut
// through a double-byte character when told to.
Text leftText(std::string_view text, int count);
Text rightText(std::string_view text, int count);

// count bytes from start, clipped at the end; empty when start < 1, start > length or
// count <= 0.
Text midText(std::string_view text, int start, int count);

// A one-byte text; code 0 gives the empty text.
Text charText(std::uint8_t code);

// ASCII letters only; double-byte characters are left as they are.
Text upperText(std::string_view text);
Text lowerText(std::string_view text);

// Removes ASCII and full-width spaces at both ends (trimText) or everywhere (removeSpaces).
// Tabs and line breaks stay.
Text trimText(std::string_view text);
Text removeSpaces(std::string_view text);

// Deletes length bytes from start (clipped at the end) and puts insert in their place. A start
// below 1 counts as 1, one beyond the end appends.
Text replaceAt(std::string_view text, int start, int length, std::string_view insert = {});

// count ASCII spaces; count < 1 gives the empty text.
Text spaces(int count);

}  // namespace tamrivo
