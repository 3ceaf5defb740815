#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tamrivo::testing {

// A fresh folder for one test, removed with all it holds afterwards.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();

    const std::filesystem::path& path() const { return path_; }
    // The path of a file in the folder (UTF-8, which is also what the downloader's GBK
    // paths are for ASCII names).
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);

}  // namespace tamrivo::testing
