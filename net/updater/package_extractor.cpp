#include "net/updater/package_extractor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <system_error>

#include "net/updater/entry_path.h"
#include "ui/text_encoding.h"

namespace tamrivo {

namespace {

using ArchivePtr = std::unique_ptr<zip_t, decltype(&zip_discard)>;
namespace fs = std::filesystem;

ArchivePtr openArchive(const fs::path& package) {
    std::error_code error;
    if (fs::file_size(package, error) == 0 || error) {
        return {nullptr, &zip_discard};  // an empty file is no archive either
    }
    int failure = 0;
    return {zip_open(package.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &failure), &zip_discard};
}

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

// The file type and permission bits the archive records, when it was made on Unix.
std::optional<mode_t> unixMode(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0 ||
        system != ZIP_OPSYS_UNIX) {
        return std::nullopt;
    }
    return static_cast<mode_t>(attributes >> 16);
}

bool isLink(std::optional<mode_t> mode) {
    return mode && S_ISLNK(*mode);
}

mode_t permissionsFor(const fs::path& target, std::optional<mode_t> archived) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        return existing.st_mode & 07777;
    }
    const bool executable = archived && (*archived & 0111) != 0;
    return executable ? 0755 : 0644;
}

bool copyEntry(zip_t* archive, zip_uint64_t index, int descriptor) {
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> entry(zip_fopen_index(archive, index, 0),
                                                             &zip_fclose);
    if (!entry) {
        return false;
    }
    std::array<char, 65536> buffer{};
    for (;;) {
        const zip_int64_t length = zip_fread(entry.get(), buffer.data(), buffer.size());
        if (length <= 0) {
            return length == 0;
        }
        if (::write(descriptor, buffer.data(), static_cast<std::size_t>(length)) != length) {
            return false;
        }
    }
}

bool writeFileEntry(zip_t* archive, zip_uint64_t index, const fs::path& target, mode_t mode) {
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return false;
    }
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool written = copyEntry(archive, index, descriptor) && ::fchmod(descriptor, mode) == 0 &&
                         ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

bool writeEntry(zip_t* archive, zip_uint64_t index, const std::string& name,
                const fs::path& target) {
    if (isFolderEntry(name)) {
        std::error_code error;
        fs::create_directories(target, error);
        return !error;
    }
    return writeFileEntry(archive, index, target, permissionsFor(target, unixMode(archive, index)));
}

}  // namespace

ExtractionReport extractPackage(const fs::path& package, const fs::path& directory) {
    ExtractionReport report;
    const ArchivePtr archive = openArchive(package);
    if (!archive) {
        return report;
    }
    report.opened = true;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_uint64_t index = 0; index < static_cast<zip_uint64_t>(count); ++index) {
        const std::string name = entryName(archive.get(), index);
        const auto relative = entryTarget(name);
        if (!relative || isLink(unixMode(archive.get(), index))) {
            report.refused.push_back(name);
        } else if (!writeEntry(archive.get(), index, name, directory / *relative)) {
            report.failed.push_back(name);
        }
    }
    return report;
}

}  // namespace tamrivo
