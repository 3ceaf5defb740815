#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

struct zip;

namespace tamrivo {

// One entry of a package as its central directory describes it.
struct ArchiveEntry {
    std::string name;                  // UTF-8
    std::uint64_t declaredSize = 0;    // bytes once unpacked
    std::optional<mode_t> unixMode{};  // file type and permissions, when made on Unix
};

enum class CopyResult { Copied, Damaged, WriteFailed };

// A zip package opened for reading. Reading an entry never yields more than it declares.
class PackageArchive {
public:
    // Nothing when the bytes are no readable zip archive. The archive reads them where they
    // are: they must outlive it, and nothing but them is ever read.
    static std::optional<PackageArchive> open(std::span<const std::uint8_t> package);

    std::uint64_t entryCount() const;
    ArchiveEntry entry(std::uint64_t index) const;
    // Writes the entry's bytes to the descriptor. Damaged: the entry cannot be read, fails
    // its checksum, or holds more or fewer bytes than it declares (found out by the time
    // one buffer past the declared size has been unpacked).
    CopyResult copyTo(std::uint64_t index, int descriptor) const;
    // The entry's bytes when it holds no more than maxBytes and unpacks as it declares.
    std::optional<std::string> read(std::uint64_t index, std::uint64_t maxBytes) const;

private:
    using Sink = std::function<bool(const char* data, std::size_t length)>;
    CopyResult unpack(std::uint64_t index, const Sink& sink) const;

    struct Discard {
        void operator()(zip* archive) const;
    };
    explicit PackageArchive(zip* archive) : archive_(archive) {}

    std::unique_ptr<zip, Discard> archive_;
};

}  // namespace tamrivo
