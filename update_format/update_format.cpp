#include "update_format/update_format.h"

#include <algorithm>
#include <cctype>

namespace tamrivo {

bool isDataFolderName(std::string_view name) {
    const std::string_view data = kDataFolderName;
    return std::equal(name.begin(), name.end(), data.begin(), data.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool reservedPlace(const std::filesystem::path& relative) {
    if (relative.empty()) {
        return false;
    }
    const std::string first = relative.begin()->string();
    return isDataFolderName(first) || first == kUpdateWorkFolder;
}

}  // namespace tamrivo
