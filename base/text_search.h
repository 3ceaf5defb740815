#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "base/value_types.h"

namespace tamrivo {

// Searching texts. The scan moves one character at a time, so a match never begins inside a
// double-byte character; a lead byte at the very end of the text ends the scan. ignoreCase
// folds ASCII letters only.

// 1-based position of the first occurrence at or after start, or -1. An empty sought text
// gives 1 when the text is not empty, else -1.
int findText(std::string_view text, std::string_view sought, int start = 1,
             bool ignoreCase = false);

// 1-based position of the last occurrence, or -1. With start given, only occurrences lying
// entirely within the first start - 1 bytes count. An empty sought text gives -1.
int findTextFromEnd(std::string_view text, std::string_view sought,
                    std::optional<int> start = std::nullopt, bool ignoreCase = false);

// Replaces occurrences from left to right, beginning at start, at most count of them (all when
// not given); replaced text is not searched again. An empty text or sought text gives an
// unchanged copy.
Text substitute(std::string_view text, std::string_view sought, std::string_view replacement = {},
                int start = 1, std::optional<int> count = std::nullopt, bool caseSensitive = true);

// The pieces between separators, in order. An empty piece between two separators is kept, an
// empty remainder after the last one is not. With maxPieces, at most that many pieces and the
// rest of the text is dropped. An empty text gives no pieces, an empty separator the whole text.
std::vector<Text> splitText(std::string_view text, std::string_view separator = ",",
                            std::optional<int> maxPieces = std::nullopt);

}  // namespace tamrivo
