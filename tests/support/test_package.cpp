#include "tests/support/test_package.h"

#include <sys/stat.h>
#include <zip.h>

#include <stdexcept>

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
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    return index;
}

}  // namespace

PackageEntry folderEntry(std::string name) {
    return {std::move(name), {}, std::nullopt, true};
}

PackageEntry linkEntry(std::string name, std::string target) {
    return {std::move(name), std::move(target), S_IFLNK | 0777, false};
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
        if (entry.unixMode) {
            zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0,
                                             ZIP_OPSYS_UNIX, *entry.unixMode << 16);
        }
    }
    if (zip_close(archive) != 0) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

}  // namespace tamrivo::testing
