#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/value_types.h"

namespace tamrivo {

// The file a download writes, opened only once the response headers are in.
class DownloadFile {
public:
    DownloadFile() = default;
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;
    ~DownloadFile();

    // Creates or truncates the file at a GBK path.
    bool create(const Text& path);
    bool isOpen() const { return descriptor_ >= 0; }
    // 0, or the DownloadResult of a failed or short write.
    std::int32_t write(const char* data, std::size_t length);
    void close();

private:
    int descriptor_ = -1;
};

}  // namespace tamrivo
