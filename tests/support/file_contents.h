#pragma once
// Whole files as byte strings, for tests that write what the program reads or read what it
// wrote.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace tamrivo::testing {

// Empty when the file cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace tamrivo::testing
