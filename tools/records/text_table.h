#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamrivo {

// The columns a UTF-8 text takes on a terminal: two for a Chinese (wide) character, one
// for any other character.
std::size_t displayWidth(std::string_view utf8);

// Rows of UTF-8 cells lined up in columns two blanks apart: the first column to the left,
// the others (numbers) to the right. Each row ends with a line feed.
std::string alignedTable(std::span<const std::vector<std::string>> rows);

}  // namespace tamrivo
