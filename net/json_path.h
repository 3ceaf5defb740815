#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrivo {

// Paths into a JSON document in script syntax ("name", "a.b", "list[2]", "a.list[0].b"),
// as UTF-8 text.

// Whether the path ends with an index ("]").
bool endsWithIndex(std::string_view path);

// The number after the last "[", read up to the "]"; 0 when there is none.
int indexNumber(std::string_view path);

// The path of the array that a path ending with an index addresses ("a.list[2]" gives
// "a.list", "grid[1][2]" gives "grid[1]"); any other path unchanged.
std::string_view withoutLastIndex(std::string_view path);

// The path without ASCII blanks and full-width blanks at either end.
std::string_view trimmedPath(std::string_view path);

// The pieces between the separators, in order; an empty piece after a trailing separator
// is dropped. Splits paths at "." and name lists at ",".
std::vector<std::string> splitAt(std::string_view text, char separator);

}  // namespace tamrivo
