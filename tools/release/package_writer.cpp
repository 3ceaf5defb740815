#include "tools/release/package_writer.h"

#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <memory>
#include <system_error>
#include <vector>

#include "update_format/update_format.h"

namespace tamrivo::release {

namespace {

namespace fs = std::filesystem;

struct Item {
    fs::path relative;
    struct stat status {};
};

// Every item below the folder, parents before what they hold, sorted by name.
std::string collect(const fs::path& folder, std::vector<Item>& items) {
    std::error_code error;
    for (fs::recursive_directory_iterator walk(folder, error), end; !error && walk != end;
         walk.increment(error)) {
        Item item{fs::relative(walk->path(), folder)};
        if (reservedPlace(item.relative)) {
            walk.disable_recursion_pending();
            continue;
        }
        if (::lstat(walk->path().c_str(), &item.status) != 0) {
            return "cannot read " + walk->path().string();
        }
        const std::string name = item.relative.string();
        if (std::any_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
            return "the updater refuses names with control characters: " + walk->path().string();
        }
        if (S_ISLNK(item.status.st_mode)) {
            return "the updater installs no links: " + walk->path().string();
        }
        if (!S_ISREG(item.status.st_mode) && !S_ISDIR(item.status.st_mode)) {
            return "neither a file nor a folder: " + walk->path().string();
        }
        items.push_back(std::move(item));
    }
    if (error) {
        return "cannot read " + folder.string() + ": " + error.message();
    }
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.relative < b.relative; });
    return {};
}

zip_int64_t addItem(zip_t* archive, const fs::path& folder, const Item& item) {
    const std::string name = item.relative.generic_string();
    if (S_ISDIR(item.status.st_mode)) {
        return zip_dir_add(archive, (name + "/").c_str(), ZIP_FL_ENC_GUESS);
    }
    zip_source_t* source = zip_source_file(archive, (folder / item.relative).c_str(), 0, -1);
    if (source == nullptr) {
        return -1;
    }
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_GUESS);
    if (index < 0) {
        zip_source_free(source);
    }
    return index;
}

bool describe(zip_t* archive, zip_int64_t index, const Item& item) {
    const auto at = static_cast<zip_uint64_t>(index);
    const mode_t mode = item.status.st_mode & (S_IFMT | 0777);
    return zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX,
                                            static_cast<zip_uint32_t>(mode) << 16) == 0 &&
           zip_file_set_mtime(archive, at, item.status.st_mtime, 0) == 0;
}

}  // namespace

std::string writePackage(const fs::path& folder, const fs::path& package) {
    std::vector<Item> items;
    if (std::string problem = collect(folder, items); !problem.empty()) {
        return problem;
    }
    int error = 0;
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
        zip_open(package.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error), &zip_discard);
    if (!archive) {
        return "cannot create " + package.string();
    }
    for (const Item& item : items) {
        const zip_int64_t index = addItem(archive.get(), folder, item);
        if (index < 0 || !describe(archive.get(), index, item)) {
            return "cannot pack " + (folder / item.relative).string() + ": " +
                   zip_strerror(archive.get());
        }
    }
    // Closing writes the archive: the files are read only now.
    if (zip_close(archive.get()) != 0) {
        return "cannot write " + package.string() + ": " + zip_strerror(archive.get());
    }
    archive.release();
    return {};
}

}  // namespace tamrivo::release
