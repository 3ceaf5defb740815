#include "tools/updater/package_archive.h"

#include <unistd.h>
#include <zip.h>

#include <array>
#include <cerrno>
#include <functional>

#include "base/text_encoding.h"

namespace tamrivo {

namespace {

// Names without the UTF-8 mark come from systems that write their own code page; for this
// program's users that is GBK.
std::string entryName(zip_t* archive, zip_uint64_t index) {
    const char* rawName = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    if (rawName == nullptr) {
        return {};
    }
    const std::string raw(rawName);
    const char* guessed = zip_get_name(archive, index, ZIP_FL_ENC_GUESS);
    if (guessed == nullptr || raw == guessed) {
        return raw;  // ASCII or UTF-8
    }
    const std::string fromGbk = gbkToUtf8(raw);
    return fromGbk.empty() ? std::string(guessed) : fromGbk;
}

std::optional<mode_t> unixMode(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0 ||
        system != ZIP_OPSYS_UNIX) {
        return std::nullopt;
    }
    return static_cast<mode_t>(attributes >> 16);
}

bool writeAll(int descriptor, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = ::write(descriptor, data, length);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

// A stored entry is its bytes as they are, so its two sizes are the same. libzip 1.10 and later
// refuse the archive at the open when they differ and earlier versions do not: asked here,
// the answer is the same under every version.
bool storedSizesAgree(zip_t* archive) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        zip_stat_t status;
        zip_stat_init(&status);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &status) == 0 &&
            (status.valid & (ZIP_STAT_COMP_METHOD | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE)) ==
                (ZIP_STAT_COMP_METHOD | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE) &&
            status.comp_method == ZIP_CM_STORE && status.comp_size != status.size) {
            return false;
        }
    }
    return true;
}

}  // namespace

void PackageArchive::Discard::operator()(zip* archive) const {
    zip_discard(archive);
}

std::optional<PackageArchive> PackageArchive::open(std::span<const std::uint8_t> package) {
    if (package.empty()) {
        return std::nullopt;  // an empty file is no archive either
    }
    zip_error_t failure;
    zip_error_init(&failure);
    zip_source_t* source = zip_source_buffer_create(package.data(), package.size(), 0, &failure);
    zip_t* archive = source == nullptr
                         ? nullptr
                         : zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &failure);
    zip_error_fini(&failure);
    if (archive == nullptr) {
        zip_source_free(source);  // still the caller's when the open failed
        return std::nullopt;
    }
    if (!storedSizesAgree(archive)) {
        zip_discard(archive);
        return std::nullopt;
    }
    return PackageArchive(archive);
}

std::uint64_t PackageArchive::entryCount() const {
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    return count < 0 ? 0 : static_cast<std::uint64_t>(count);
}

ArchiveEntry PackageArchive::entry(std::uint64_t index) const {
    ArchiveEntry entry;
    entry.name = entryName(archive_.get(), index);
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_stat_index(archive_.get(), index, 0, &status) == 0 &&
        (status.valid & ZIP_STAT_SIZE) != 0) {
        entry.declaredSize = status.size;
    }
    entry.unixMode = unixMode(archive_.get(), index);
    return entry;
}

CopyResult PackageArchive::copyTo(std::uint64_t index, int descriptor) const {
    return unpack(index, [descriptor](const char* data, std::size_t length) {
        return writeAll(descriptor, data, length);
    });
}

std::optional<std::string> PackageArchive::read(std::uint64_t index, std::uint64_t maxBytes) const {
    if (entry(index).declaredSize > maxBytes) {
        return std::nullopt;
    }
    std::string content;
    const CopyResult result = unpack(index, [&content](const char* data, std::size_t length) {
        content.append(data, length);
        return true;
    });
    return result == CopyResult::Copied ? std::optional(content) : std::nullopt;
}

CopyResult PackageArchive::unpack(std::uint64_t index, const Sink& sink) const {
    const std::uint64_t declared = entry(index).declaredSize;
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(
        zip_fopen_index(archive_.get(), index, 0), &zip_fclose);
    if (!file) {
        return CopyResult::Damaged;
    }
    std::array<char, 65536> buffer{};
    std::uint64_t total = 0;
    for (;;) {
        const zip_int64_t length = zip_fread(file.get(), buffer.data(), buffer.size());
        if (length < 0) {
            return CopyResult::Damaged;
        }
        if (length == 0) {
            return total == declared ? CopyResult::Copied : CopyResult::Damaged;
        }
        total += static_cast<std::uint64_t>(length);
        if (total > declared) {
            return CopyResult::Damaged;  // expands beyond what it claims: stop unpacking
        }
        if (!sink(buffer.data(), static_cast<std::size_t>(length))) {
            return CopyResult::WriteFailed;
        }
    }
}

}  // namespace tamrivo
