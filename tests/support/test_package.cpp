#include "tests/support/test_package.h"

#include <sys/stat.h>
#include <zip.h>

#include <cstring>
#include <stdexcept>

#include "tests/support/file_contents.h"

namespace tamrivo::testing {

namespace {

zip_int64_t addEntry(zip_t* archive, const PackageEntry& entry) {
    if (entry.folder) {
        return zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_GUESS);
    }
    zip_source_t* source =
        zip_source_buffer(archive, entry.content.data(), entry.content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_GUESS);
    if (index < 0) {
        zip_source_free(source);
        return index;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                             entry.deflated ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    return index;
}

std::uint32_t read32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);  // zip is little-endian, as this machine
    return value;
}

void write32(std::string& bytes, std::size_t at, std::uint32_t value) {
    std::memcpy(bytes.data() + at, &value, 4);
}

}  // namespace

PackageEntry folderEntry(std::string name) {
    return {std::move(name), {}, std::nullopt, true};
}

PackageEntry linkEntry(std::string name, std::string target) {
    return {std::move(name), std::move(target), S_IFLNK | 0777, false};
}

void claimSize(const std::filesystem::path& path, std::size_t index, std::uint32_t size) {
    std::string bytes = readFile(path);
    const std::size_t end = bytes.rfind("PK\x05\x06");
    if (end == std::string::npos) {
        throw std::runtime_error("no zip archive: " + path.string());
    }
    std::size_t central = read32(bytes, end + 16);
    for (std::size_t i = 0; i < index; ++i) {
        const auto lengths = [&](std::size_t at) {
            return static_cast<std::size_t>(static_cast<unsigned char>(bytes[central + at]) |
                                            static_cast<unsigned char>(bytes[central + at + 1])
                                                << 8);
        };
        central += 46 + lengths(28) + lengths(30) + lengths(32);
    }
    write32(bytes, central + 24, size);
    write32(bytes, read32(bytes, central + 42) + 22, size);
    writeFile(path, bytes);
}

void writePackage(const std::filesystem::path& path, const std::vector<PackageEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        throw std::runtime_error("cannot create " + path.string());
    }
    for (const PackageEntry& entry : entries) {
        const zip_int64_t index = addEntry(archive, entry);
        if (index < 0) {
            zip_discard(archive);
            throw std::runtime_error("cannot add " + entry.name);
        }
        // Without a mode the entry says nothing of Unix, as from a Windows archiver.
        zip_file_set_external_attributes(
            archive, static_cast<zip_uint64_t>(index), 0,
            entry.unixMode ? ZIP_OPSYS_UNIX : ZIP_OPSYS_DOS,
            entry.unixMode ? static_cast<zip_uint32_t>(*entry.unixMode) << 16 : 0);
    }
    if (zip_close(archive) != 0) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace tamrivo::testing
