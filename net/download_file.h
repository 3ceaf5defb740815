#pragma once

#include <cstddef>
#include <cstdint>

#include "base/value_types.h"

namespace tamrivo {

// The file a download writes, opened only once the response headers are in.
class DownloadFile {
public:
    DownloadFile() = default;
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;
    ~DownloadFile();

    // Makes the file at a GBK path empty and holds it, so that no other download (a second
    // copy of the program) writes into it while this one writes or its owner checks it.
    // False when another holds it, or when the path is a link or a file with other names.
    bool create(const Text& path);
    bool isOpen() const { return descriptor_ >= 0; }
    // 0, or the DownloadResult of a failed or short write.
    std::int32_t write(const char* data, std::size_t length);
    void close();

private:
    int descriptor_ = -1;
};

}  // namespace tamrivo
